#include "core/store/ReadingOrder.h"

namespace mirvo {

void ReadingOrder::begin()
{
    m_next.clear();
    m_nextCount = 0;
    m_offset = 0;
    m_followed = 0;
    m_left = false;
}

bool ReadingOrder::follows(std::string_view name)
{
    if (!m_left) {
        const size_t end = m_offset + name.size();
        if (end < m_names.size() && m_names[end] == '\0' && m_names.compare(m_offset, name.size(), name) == 0) {
            m_offset = end + 1;
            ++m_followed;
            return true;
        }
        m_left = true;
        m_next.assign(m_names, 0, m_offset);
        m_nextCount = m_followed;
    }
    m_next.append(name).push_back('\0');
    ++m_nextCount;
    return false;
}

std::vector<std::string_view> ReadingOrder::followedNames() const
{
    std::vector<std::string_view> names;
    names.reserve(m_followed);
    for (size_t at = 0; at < m_offset;) {
        const size_t end = m_names.find('\0', at);
        names.emplace_back(m_names.data() + at, end - at);
        at = end + 1;
    }
    return names;
}

void ReadingOrder::end()
{
    if (!left())
        return;
    if (!m_left) {
        m_next.assign(m_names, 0, m_offset);
        m_nextCount = m_followed;
    }
    m_names.swap(m_next);
    m_count = m_nextCount;
    m_forgotten = false;
}

void ReadingOrder::forget()
{
    m_names.clear();
    m_count = 0;
    m_forgotten = true;
}

} // namespace mirvo
