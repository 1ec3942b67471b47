#include "platform/FileListBox.h"

#include "platform/FolderListing.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFile>
#include <QEvent>
#include <QHeaderView>
#include <QPointer>

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mirvo {

/// The names of the listing, changed row by row on a refresh. The model keeps the order the
/// directory gave the names in last time: a refresh walks the directory along it, so names it
/// already shows cost a comparison of their bytes, not a decoding, lookup or sort.
class NameListModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    const QStringList &names() const { return m_names; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_names.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_names.size()
            || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return m_names.at(index.row());
    }

    /// Brings the rows up to date with folder: from the change notices when they tell what
    /// changed, else by reading it whole.
    void refresh(const QString &folder)
    {
        if (folder == m_followed) {
            if (const auto changes = m_watch.takeChanges(manyRuns); changes && applyChanges(*changes))
                return;
        }
        reread(folder);
    }

    /// Reads folder whole: each run of rows gone is removed and each run of new names
    /// inserted; when the runs are many, the list is replaced.
    void reread(const QString &folder)
    {
        m_watch.follow(folder);
        m_followed = folder;
        bool byFolderAlone = true;
        if (!applyDifference(folder, &byFolderAlone))
            byFolderAlone = rebuild(folder);
        if (!byFolderAlone)
            m_watch.forget();
    }

private:
    static constexpr size_t none = size_t(-1);
    /// Past this many separate runs of changes, one reset is cheaper than moving rows run by run.
    static constexpr size_t manyRuns = 16;
    /// A name that is gone keeps its place in m_order, with no bytes, until the next reading;
    /// a name that came by a notice is at the end of m_order, floating, as its place in the
    /// directory's order is not known yet.
    struct Known
    {
        std::string bytes;
        QString name;
        quint64 seen = 0;      ///< the refresh that last saw it
        size_t position = 0;   ///< in the directory's order
        bool floating = false; ///< position is not the directory's
    };
    struct Added
    {
        QString name;
        std::string bytes;
        size_t position; ///< in the directory's order
    };
    struct BytesHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
    };

    bool applyChanges(const std::vector<FolderWatch::Change> &changes);
    bool applyDifference(const QString &folder, bool *byFolderAlone);
    bool rebuild(const QString &folder);
    qsizetype rowOf(const QString &name) const;
    size_t remember(std::string bytes, QString name, size_t position);

    QStringList m_names;                ///< in listing order
    std::vector<Known> m_known;         ///< every name shown, and free places
    std::vector<size_t> m_free;         ///< places in m_known to reuse
    std::vector<size_t> m_order;        ///< m_known places in the directory's order
    std::unordered_map<std::string, size_t, BytesHash, std::equal_to<>> m_byBytes;
    quint64 m_refresh = 0;
    FolderWatch m_watch;
    QString m_followed; ///< the folder m_watch follows
};

size_t NameListModel::remember(std::string bytes, QString name, size_t position)
{
    size_t place = m_known.size();
    if (m_free.empty()) {
        m_known.emplace_back();
    } else {
        place = m_free.back();
        m_free.pop_back();
    }
    m_byBytes.emplace(bytes, place);
    m_known[place] = {std::move(bytes), std::move(name), m_refresh, position};
    return place;
}

qsizetype NameListModel::rowOf(const QString &name) const
{
    const auto row = std::lower_bound(m_names.cbegin(), m_names.cend(), name, listedBefore);
    return row != m_names.cend() && *row == name ? row - m_names.cbegin() : -1;
}

bool NameListModel::applyChanges(const std::vector<FolderWatch::Change> &changes)
{
    for (const FolderWatch::Change &change : changes) {
        const auto found = m_byBytes.find(change.bytes);
        if (change.listed && found == m_byBytes.end()) {
            QString name = nameFromBytes(std::string_view(change.bytes.data(), change.bytes.size()));
            const qsizetype row = std::upper_bound(m_names.cbegin(), m_names.cend(), name, listedBefore) - m_names.cbegin();
            beginInsertRows({}, int(row), int(row));
            m_names.insert(row, name);
            endInsertRows();
            const size_t place = remember(change.bytes, std::move(name), m_order.size());
            m_known[place].floating = true;
            m_order.push_back(place);
        } else if (!change.listed && found != m_byBytes.end()) {
            Known &known = m_known[found->second];
            const qsizetype row = rowOf(known.name);
            if (row < 0)
                return false;
            beginRemoveRows({}, int(row), int(row));
            m_names.remove(row);
            endRemoveRows();
            m_byBytes.erase(found);
            known.bytes.clear();
            known.name.clear();
        }
    }
    return true;
}

bool NameListModel::applyDifference(const QString &folder, bool *byFolderAlone)
{
    const quint64 now = ++m_refresh;
    std::vector<size_t> order;
    order.reserve(m_order.size() + 16);
    std::vector<size_t> passed; // positions of the last order stepped over; checked at the end
    std::vector<Added> added;
    size_t next = 0;            // where in the last order the directory is expected to go on
    bool lost = false;          // a name given twice, or the order too scrambled to follow
    bool moved = false;         // the directory left the last order somewhere
    *byFolderAlone = readOrdinaryFiles(folder, [&](std::string_view bytes) {
        size_t place = none;
        if (next < m_order.size() && m_known[m_order[next]].bytes == bytes) {
            place = m_order[next++];
        } else if (const auto found = m_byBytes.find(bytes); found != m_byBytes.end()) {
            place = found->second;
            moved = true;
            if (!m_known[place].floating) {
                for (; next < m_known[place].position; ++next)
                    passed.push_back(next);
                next = m_known[place].position + 1;
                lost = lost || passed.size() > m_order.size();
            }
        }
        if (place == none) {
            added.push_back({nameFromBytes(bytes),
                             std::string(bytes), order.size()});
        } else {
            lost = lost || m_known[place].seen == now;
            m_known[place].seen = now;
        }
        order.push_back(place);
    });
    if (lost)
        return false;
    for (; next < m_order.size(); ++next)
        passed.push_back(next);

    std::vector<qsizetype> removedRows;
    for (const size_t position : passed) {
        Known &known = m_known[m_order[position]];
        if (known.seen == now)
            continue;
        known.seen = now; // counted once
        known.position = none;
        if (known.bytes.empty())
            continue; // its row went with its notice
        const qsizetype row = rowOf(known.name);
        if (row < 0)
            return false;
        removedRows.push_back(row);
    }
    std::sort(removedRows.begin(), removedRows.end());
    std::sort(added.begin(), added.end(), [](const Added &a, const Added &b) { return listedBefore(a.name, b.name); });

    size_t runs = 0;
    for (size_t i = 0; i < removedRows.size() && runs <= manyRuns; ++i)
        runs += i == 0 || removedRows[i] != removedRows[i - 1] + 1;
    const auto rowFor = [this](const QString &name) {
        return std::upper_bound(m_names.cbegin(), m_names.cend(), name, listedBefore) - m_names.cbegin();
    };
    for (size_t i = 0; i < added.size() && runs <= manyRuns; ++i)
        runs += i == 0 || rowFor(added[i - 1].name) != rowFor(added[i].name);
    if (runs > manyRuns)
        return false;

    for (size_t end = removedRows.size(); end > 0;) {
        size_t first = end - 1;
        while (first > 0 && removedRows[first - 1] + 1 == removedRows[first])
            --first;
        const qsizetype row = removedRows[first];
        const qsizetype length = qsizetype(end - first);
        beginRemoveRows({}, int(row), int(row + length - 1));
        m_names.remove(row, length);
        endRemoveRows();
        end = first;
    }
    for (const size_t position : passed) {
        const size_t place = m_order[position];
        if (m_known[place].position == none) {
            if (!m_known[place].bytes.empty())
                m_byBytes.erase(m_known[place].bytes);
            m_known[place] = {};
            m_free.push_back(place);
        }
    }
    // From the last new name back, so the rows found for the earlier ones stay where they are.
    for (size_t end = added.size(); end > 0;) {
        const qsizetype row = rowFor(added[end - 1].name);
        size_t first = end - 1;
        while (first > 0 && rowFor(added[first - 1].name) == row)
            --first;
        const qsizetype length = qsizetype(end - first);
        beginInsertRows({}, int(row), int(row + length - 1));
        m_names.insert(row, length, QString());
        for (qsizetype i = 0; i < length; ++i) {
            Added &name = added[first + size_t(i)];
            m_names[row + i] = name.name;
            order[name.position] = remember(std::move(name.bytes), std::move(name.name), name.position);
        }
        endInsertRows();
        end = first;
    }
    if (moved || !passed.empty() || !added.empty()) {
        for (size_t position = 0; position < order.size(); ++position) {
            m_known[order[position]].position = position;
            m_known[order[position]].floating = false;
        }
    }
    m_order = std::move(order);
    return true;
}

bool NameListModel::rebuild(const QString &folder)
{
    m_known.clear();
    m_free.clear();
    m_order.clear();
    m_byBytes.clear();
    QStringList names;
    const bool byFolderAlone = readOrdinaryFiles(folder, [&](std::string_view bytes) {
        // A name the directory gives twice (removed and made again during the reading) is
        // one row.
        if (m_byBytes.find(bytes) != m_byBytes.end())
            return;
        QString name = nameFromBytes(bytes);
        names.append(name);
        m_order.push_back(remember(std::string(bytes), std::move(name), m_order.size()));
    });
    sortListed(names);
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
    return byFolderAlone;
}

namespace {

/// One name of the list, for assistive technology: known by its row, which it reads anew
/// every time, so it is never stale while the row exists.
class FileListRowAccessible final : public QAccessibleInterface
{
public:
    FileListRowAccessible(FileListBox *list, int row) : m_list(list), m_row(row) {}

    int row() const { return m_row; }
    bool isValid() const override { return m_list && m_row < m_list->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_list); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name && isValid() ? m_list->nameAt(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect shown = m_list->visualRect(m_list->model()->index(m_row, 0));
        return QRect(m_list->viewport()->mapToGlobal(shown.topLeft()), shown.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QModelIndex index = m_list->model()->index(m_row, 0);
        state.selectable = state.focusable = true;
        state.selected = m_list->selectionModel()->isSelected(index);
        state.focused = m_list->hasFocus() && m_list->currentIndex() == index;
        state.offscreen = !m_list->viewport()->rect().intersects(m_list->visualRect(index));
        return state;
    }

private:
    QPointer<FileListBox> m_list;
    int m_row;
};

/// The list for assistive technology: a list of names, not the one-column table it is.
class FileListAccessible final : public QAccessibleWidget
{
public:
    explicit FileListAccessible(FileListBox *list)
        : QAccessibleWidget(list, QAccessible::List)
    {
        // Rows move when names come and go: the interfaces of rows are made anew after.
        const QAbstractItemModel *model = list->model();
        const auto forget = [this] { forgetRows(); };
        m_connections = {
            QObject::connect(model, &QAbstractItemModel::rowsInserted, list, forget),
            QObject::connect(model, &QAbstractItemModel::rowsRemoved, list, forget),
            QObject::connect(model, &QAbstractItemModel::modelReset, list, forget),
        };
    }

    ~FileListAccessible() override
    {
        for (const QMetaObject::Connection &connection : m_connections)
            QObject::disconnect(connection);
        forgetRows();
    }

    int childCount() const override { return list()->count(); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = m_rows.constFind(index); known != m_rows.cend())
            return QAccessible::accessibleInterface(*known);
        auto *row = new FileListRowAccessible(list(), index);
        m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *row = dynamic_cast<const FileListRowAccessible *>(child);
        return row && row->isValid() && child->parent() == this ? row->row() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QModelIndex index = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex current = list()->currentIndex();
        return list()->hasFocus() && current.isValid() ? child(current.row()) : nullptr;
    }

private:
    FileListBox *list() const { return static_cast<FileListBox *>(widget()); }

    void forgetRows()
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
        m_rows.clear();
    }

    mutable QHash<int, QAccessible::Id> m_rows;
    QList<QMetaObject::Connection> m_connections;
};

QAccessibleInterface *accessibleFileList(const QString &className, QObject *object)
{
    auto *list = qobject_cast<FileListBox *>(object);
    if (!list || className != QLatin1String(list->metaObject()->className()))
        return nullptr;
    return new FileListAccessible(list);
}

} // namespace

FileListBox::FileListBox(QWidget *parent)
    : QTableView(parent)
    , m_model(new NameListModel(this))
{
    static const bool accessibleAsList = [] {
        QAccessible::installFactory(accessibleFileList);
        return true;
    }();
    Q_UNUSED(accessibleAsList);
    // A table of one column, without headers or grid, looks and behaves as a list; unlike
    // QListView, which lays every row out again when one comes or goes, it keeps its rows as
    // a header's fixed sections, so a right answer costs about the same at 100000 names as at
    // 3600.
    // Hidden before the model comes: a shown header measures its captions in bold, which
    // loads a bold CJK face at start-up for nothing.
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setModel(m_model);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    fitRowHeight();
    // The view moves the current entry and the selection one after the other, in either
    // order; the entry is told of once both agree.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &FileListBox::onSelectionMoved);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &FileListBox::onSelectionMoved);
}

void FileListBox::fitRowHeight()
{
    // As high as a list's row of a name in this font.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Wg");
    verticalHeader()->setDefaultSectionSize(
        style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
}

void FileListBox::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

void FileListBox::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous); // not the table's, see the header
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

void FileListBox::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    for (const auto &[range, change] : {std::pair{selected, QAccessible::SelectionAdd},
                                        std::pair{deselected, QAccessible::SelectionRemove}}) {
        if (range.isEmpty())
            continue;
        QAccessibleEvent event(this, change);
        event.setChild(range.indexes().constFirst().row());
        QAccessible::updateAccessibility(&event);
    }
}

QModelIndex FileListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and last name, as in a list, not along the row.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

QStringList FileListBox::listFolder(const QString &folder)
{
    return listOrdinaryFiles(folder);
}

void FileListBox::setFolder(const QString &folder)
{
    m_folder = folder;
    keepingSelection([this] { m_model->reread(m_folder); });
}

int FileListBox::count() const
{
    return static_cast<int>(m_model->names().size());
}

QString FileListBox::nameAt(int position) const
{
    return m_model->names().at(position);
}

void FileListBox::refresh()
{
    keepingSelection([this] { m_model->refresh(m_folder); });
}

void FileListBox::keepingSelection(const std::function<void()> &change)
{
    // The view moves the selection off a removed row onto its neighbour; a refresh is not a
    // choice of the user, so nothing is told, and an entry gone leaves no selection.
    const QString selected = selectedName();
    m_selectingFromCode = true;
    change();
    if (!selected.isEmpty() && selectedName() != selected)
        selectionModel()->clear();
    m_selectingFromCode = false;
    m_announcedRow = selectedRow();
}

void FileListBox::select(int position)
{
    if (position < 0 || position >= count())
        return;
    m_selectingFromCode = true;
    // The table scrolls to the entry only once it knows how far it can scroll.
    executeDelayedItemsLayout();
    setCurrentIndex(m_model->index(position));
    m_selectingFromCode = false;
    m_announcedRow = selectedRow();
}

int FileListBox::selectedRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

QString FileListBox::selectedName() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : m_model->names().at(row);
}

void FileListBox::onSelectionMoved()
{
    const int row = selectedRow();
    if (m_selectingFromCode || row == m_announcedRow)
        return;
    m_announcedRow = row;
    if (row >= 0)
        emit entryClicked();
}

} // namespace mirvo
