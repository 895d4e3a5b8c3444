#include "platform/VersionInfo.h"

#include <algorithm>
#include <vector>

namespace platform::versioninfo {

namespace {

// One node of a block, with every offset checked to lie inside its parent.
struct Node {
    std::size_t end = 0;           // one past its last byte (wLength from its start)
    std::size_t keyStart = 0;      // its key's first WCHAR
    std::size_t keyUnits = 0;      // WCHARs of its key, without the terminating zero
    std::size_t valueStart = 0;    // its value's first byte
    std::size_t valueEnd = 0;      // one past its value's last byte, at most `end`
    std::size_t childrenStart = 0; // where its children begin, at most `end`
    std::uint16_t type = 0;
};

std::uint16_t read16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

constexpr std::size_t align4(std::size_t v)
{
    return (v + 3) & ~std::size_t{3};
}

// Reads the node at `start`, which must end at or before `limit` (its parent's end).
std::optional<Node> readNode(std::span<const std::uint8_t> b, std::size_t start, std::size_t limit)
{
    if (limit > b.size() || start > limit || limit - start < 6) return std::nullopt;
    const std::size_t length = read16(b, start);
    if (length < 6 || length > limit - start) return std::nullopt;
    Node n;
    n.end = start + length;
    const std::size_t valueLength = read16(b, start + 2);
    n.type = read16(b, start + 4);
    n.keyStart = start + 6;
    std::size_t pos = n.keyStart;
    for (;;) {
        if (n.end - pos < 2) return std::nullopt; // no terminating zero inside the node
        if (read16(b, pos) == 0) break;
        pos += 2;
    }
    n.keyUnits = (pos - n.keyStart) / 2;
    n.valueStart = std::min(align4(pos + 2), n.end);
    const std::size_t valueBytes = n.type == 1 ? valueLength * 2 : valueLength;
    n.valueEnd = n.valueStart + std::min(valueBytes, n.end - n.valueStart);
    n.childrenStart = std::min(align4(n.valueEnd), n.end);
    return n;
}

bool keyEquals(std::span<const std::uint8_t> b, const Node& n, std::string_view name)
{
    if (n.keyUnits != name.size()) return false;
    auto lower = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned unit = read16(b, n.keyStart + 2 * i);
        if (lower(unit) != lower(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

std::vector<std::string_view> splitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t i = 0;
    while (i <= path.size()) {
        const std::size_t j = std::min(path.find('\\', i), path.size());
        if (j > i) parts.push_back(path.substr(i, j - i));
        i = j + 1;
    }
    return parts;
}

} // namespace

std::optional<std::u16string> queryText(std::span<const std::uint8_t> block, std::string_view path)
{
    auto node = readNode(block, 0, block.size());
    if (!node || !keyEquals(block, *node, "VS_VERSION_INFO")) return std::nullopt;
    for (const std::string_view part : splitPath(path)) {
        std::optional<Node> found;
        // Every child is at least 6 bytes long, so the walk moves forward at every step.
        for (std::size_t pos = node->childrenStart; pos < node->end;) {
            const auto child = readNode(block, pos, node->end);
            if (!child) break;
            if (keyEquals(block, *child, part)) {
                found = child;
                break;
            }
            pos = align4(child->end);
        }
        if (!found) return std::nullopt;
        node = found;
    }
    std::u16string text;
    for (std::size_t at = node->valueStart; at + 1 < node->valueEnd; at += 2) {
        const char16_t unit = read16(block, at);
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80)
            out.push_back(static_cast<char>(cp));
        else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | cp >> 6));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | cp >> 12));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else {
            out.push_back(static_cast<char>(0xF0 | cp >> 18));
            out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace platform::versioninfo
