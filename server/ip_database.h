// The offline IP database: a reader of the ip2region v1 file format.
//
// Layout (all integers little-endian):
//   bytes 0..7   the super block: offsets of the first and the last index block
//   index blocks 12 bytes each, sorted by address: first address (u32), last
//                address (u32), a data pointer (u32: low 24 bits the offset,
//                high 8 bits the length)
//   data         at the pointer: a 4-byte city id, then UTF-8 text
//                "country|area|province|city|isp", "0" for an unknown field.
// The header index between the super block and the data only speeds up a
// disk search; a reader holding the whole file in memory does not need it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane::server {

struct IpRegion {
    std::string country;
    std::string province;
    std::string city;
    std::string isp;
};

class IpDatabase {
public:
    // Nothing when `bytes` is not a whole, consistent database.
    static std::optional<IpDatabase> FromBytes(std::string bytes);
    static std::optional<IpDatabase> FromFile(const std::string& path);

    // The region of an IPv4 address (host order); nothing when the database
    // does not cover it. The database itself marks private and loopback
    // ranges (country "0"), so no address is filtered before the lookup.
    std::optional<IpRegion> Lookup(std::uint32_t address) const;
    std::size_t BlockCount() const { return blockCount_; }
    // Index block `i` (< BlockCount()): its range and its region text.
    struct Block {
        std::uint32_t first;
        std::uint32_t last;
        IpRegion region;
    };
    Block BlockAt(std::size_t i) const;

private:
    IpDatabase(std::string bytes, std::uint32_t first, std::size_t count)
        : bytes_(std::move(bytes)), first_(first), blockCount_(count) {}
    std::string bytes_;
    std::uint32_t first_ = 0;
    std::size_t blockCount_ = 0;
};

// An address in dotted-quad form ("1.2.3.4"), in host order; nothing for any
// other text (an IPv6 address included).
std::optional<std::uint32_t> ParseIpv4(std::string_view text);

// A database file in the format above, for tests and tools: one record per
// range, ranges sorted and not overlapping.
struct IpRange {
    std::uint32_t first;
    std::uint32_t last;
    std::string region;  // "country|area|province|city|isp"
};
std::string BuildIpDatabase(const std::vector<IpRange>& ranges);

}  // namespace torvane::server
