#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mirvo {

/// The names the last whole reading of a folder gave, in the directory's order. A folder
/// that has not changed gives the same names in the same order again: following the last
/// reading then costs one comparison of bytes per name, where looking each name up cost as
/// much again as reading the folder.
class ReadingOrder
{
public:
    /// Starts following a new reading along the last one.
    void begin();
    /// Takes the reading's next name: true while it is the last reading's next one. The first
    /// time it is not, the reading has left the last order for good: this name and those after
    /// it are kept as the new order.
    bool follows(std::string_view name);
    /// The names followed so far; valid until end().
    std::vector<std::string_view> followedNames() const;
    /// Whether the reading so far left the last order, or gave fewer names than it.
    bool left() const { return m_left || m_followed < m_count || m_forgotten; }
    /// Ends the reading: its order is the one the next reading follows.
    void end();
    /// Something else changed the list: the next reading follows no order.
    void forget();

private:
    std::string m_names;      ///< each name followed by a NUL
    size_t m_count = 0;
    std::string m_next;       ///< the new reading's, once it left m_names
    size_t m_nextCount = 0;
    size_t m_offset = 0;      ///< in m_names, while the reading follows it
    size_t m_followed = 0;
    bool m_left = false;
    bool m_forgotten = true; ///< no reading to follow: none yet, or the list changed since
};

} // namespace mirvo
