#include "server/ip_database.h"

#include <charconv>
#include <fstream>

namespace torvane::server {
namespace {

constexpr std::size_t kSuperBlock = 8;
constexpr std::size_t kIndexBlock = 12;
constexpr std::size_t kCityId = 4;
constexpr std::size_t kMaxFileBytes = 256u * 1024 * 1024;

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void WriteU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The "|"-separated field `index` of `text`; "0" means unknown.
std::string Field(std::string_view text, int index) {
    for (int i = 0; i < index; ++i) {
        const std::size_t bar = text.find('|');
        if (bar == std::string_view::npos) return {};
        text.remove_prefix(bar + 1);
    }
    std::string_view field = text.substr(0, text.find('|'));
    return field == "0" ? std::string() : std::string(field);
}

}  // namespace

std::optional<IpDatabase> IpDatabase::FromBytes(std::string bytes) {
    if (bytes.size() < kSuperBlock + kIndexBlock) return std::nullopt;
    const std::uint32_t first = ReadU32(bytes, 0);
    const std::uint32_t last = ReadU32(bytes, 4);
    if (first < kSuperBlock || last < first || (last - first) % kIndexBlock != 0 ||
        std::size_t{last} + kIndexBlock > bytes.size()) {
        return std::nullopt;
    }
    const std::size_t count = (last - first) / kIndexBlock + 1;
    // Every block must point inside the file: a lookup then never reads past it.
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = first + i * kIndexBlock;
        const std::uint32_t pointer = ReadU32(bytes, at + 8);
        const std::size_t offset = pointer & 0xFFFFFF, length = pointer >> 24;
        if (ReadU32(bytes, at) > ReadU32(bytes, at + 4) || length < kCityId || offset + length > bytes.size()) {
            return std::nullopt;
        }
    }
    return IpDatabase(std::move(bytes), first, count);
}

std::optional<IpDatabase> IpDatabase::FromFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[1 << 16];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (bytes.size() > kMaxFileBytes) return std::nullopt;
    }
    return FromBytes(std::move(bytes));
}

std::optional<IpRegion> IpDatabase::Lookup(std::uint32_t address) const {
    std::size_t low = 0, high = blockCount_;
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const std::size_t at = first_ + mid * kIndexBlock;
        if (address < ReadU32(bytes_, at)) {
            high = mid;
        } else if (address > ReadU32(bytes_, at + 4)) {
            low = mid + 1;
        } else {
            return BlockAt(mid).region;
        }
    }
    return std::nullopt;
}

IpDatabase::Block IpDatabase::BlockAt(std::size_t i) const {
    const std::size_t at = first_ + i * kIndexBlock;
    const std::uint32_t pointer = ReadU32(bytes_, at + 8);
    const std::string_view text =
        std::string_view(bytes_).substr((pointer & 0xFFFFFF) + kCityId, (pointer >> 24) - kCityId);
    return {ReadU32(bytes_, at), ReadU32(bytes_, at + 4),
            IpRegion{Field(text, 0), Field(text, 2), Field(text, 3), Field(text, 4)}};
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') return std::nullopt;
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
        if (digits == 0 || digits > 3) return std::nullopt;
        unsigned value = 0;
        std::from_chars(text.data(), text.data() + digits, value);
        if (value > 255) return std::nullopt;
        address = (address << 8) | value;
        text.remove_prefix(digits);
    }
    if (!text.empty()) return std::nullopt;
    return address;
}

std::string BuildIpDatabase(const std::vector<IpRange>& ranges) {
    if (ranges.empty()) return std::string(kSuperBlock, '\0');  // a file with no index: refused
    std::string data;
    std::vector<std::uint32_t> pointers;
    const std::size_t dataStart = kSuperBlock;
    for (const IpRange& range : ranges) {
        pointers.push_back(static_cast<std::uint32_t>(dataStart + data.size()) |
                           (static_cast<std::uint32_t>(kCityId + range.region.size()) << 24));
        WriteU32(data, 0);
        data += range.region;
    }
    const std::uint32_t first = static_cast<std::uint32_t>(dataStart + data.size());
    std::string out;
    WriteU32(out, first);
    WriteU32(out, static_cast<std::uint32_t>(first + (ranges.size() - 1) * kIndexBlock));
    out += data;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        WriteU32(out, ranges[i].first);
        WriteU32(out, ranges[i].last);
        WriteU32(out, pointers[i]);
    }
    return out;
}

}  // namespace torvane::server
