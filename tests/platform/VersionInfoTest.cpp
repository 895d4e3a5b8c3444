// The version block's layout, as built and as walked by the lookup.
#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace platform::versioninfo;

namespace {

constexpr StringEntry someStrings[] = {
    {"FileVersion", "0.6.1.13"},
    {"ProductVersion", "1.0.0.0"},
    {"ProductName", "Tavrix"},
};

std::vector<std::uint8_t> blockOf(const BlockContents& contents)
{
    const auto b = build<4096>(contents);
    EXPECT_FALSE(b.overflow);
    return {b.bytes.begin(), b.bytes.begin() + static_cast<std::ptrdiff_t>(b.size)};
}

std::string query(const std::vector<std::uint8_t>& block, std::string_view path)
{
    const auto text = queryText(block, path);
    return text ? toUtf8(*text) : std::string("<none>");
}

std::uint16_t at16(const std::vector<std::uint8_t>& b, std::size_t i)
{
    return b[i] | b[i + 1] << 8;
}
std::uint32_t at32(const std::vector<std::uint8_t>& b, std::size_t i)
{
    return at16(b, i) | at16(b, i + 2) << 16;
}

} // namespace

TEST(VersionBlock, TableKeyIsLanguageAndCodePageInUpperCaseHex)
{
    const auto key = tableKey(0x0419, 0x04E3);
    EXPECT_EQ(std::string(key.begin(), key.end()), "041904E3");
    const auto other = tableKey(0x0409, 0x04B0);
    EXPECT_EQ(std::string(other.begin(), other.end()), "040904B0");
}

TEST(VersionBlock, RootHoldsTheFixedInfoAfterItsKey)
{
    const auto b = blockOf({{0, 6, 1, 13}, {1, 2, 3, 4}, 0x0419, 0x04E3, someStrings});
    EXPECT_EQ(at16(b, 0), b.size()); // wLength of the root: the whole block
    EXPECT_EQ(at16(b, 2), 52);       // wValueLength: sizeof VS_FIXEDFILEINFO
    EXPECT_EQ(at16(b, 4), 0);        // binary
    // "VS_VERSION_INFO" (15 WCHARs and a zero) from byte 6 to 38, padded to 40.
    const std::size_t fixed = 40;
    EXPECT_EQ(at32(b, fixed + 0), fixedSignature);
    EXPECT_EQ(at32(b, fixed + 4), fixedStructVersion);
    EXPECT_EQ(at32(b, fixed + 8), 0x00000006u);  // file version 0.6
    EXPECT_EQ(at32(b, fixed + 12), 0x0001000Du); // .1.13
    EXPECT_EQ(at32(b, fixed + 16), 0x00010002u); // product version 1.2
    EXPECT_EQ(at32(b, fixed + 20), 0x00030004u); // .3.4
}

TEST(VersionBlock, LooksUpStringsOfItsTable)
{
    const auto b = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0419, 0x04E3, someStrings});
    EXPECT_EQ(query(b, fileVersionPath), "0.6.1.13");
    EXPECT_EQ(query(b, "\\StringFileInfo\\041904E3\\ProductVersion"), "1.0.0.0");
    EXPECT_EQ(query(b, "\\StringFileInfo\\041904E3\\ProductName"), "Tavrix");
    EXPECT_EQ(query(b, "\\StringFileInfo\\041904E3\\Comments"), "<none>");
    EXPECT_EQ(query(b, "\\StringFileInfo\\040904B0\\FileVersion"), "<none>");
}

TEST(VersionBlock, KeysCompareWithoutCaseAsVerQueryValueDoes)
{
    const auto b = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0419, 0x04E3, someStrings});
    EXPECT_EQ(query(b, "\\stringfileinfo\\041904e3\\fileversion"), "0.6.1.13");
}

TEST(VersionBlock, TranslationIsLanguageThenCodePage)
{
    const auto b = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0419, 0x04E3, someStrings});
    // Find the Translation value: it is the block's last four bytes.
    ASSERT_GE(b.size(), 4u);
    EXPECT_EQ(at16(b, b.size() - 4), 0x0419);
    EXPECT_EQ(at16(b, b.size() - 2), 0x04E3);
}

TEST(VersionBlock, AnotherLanguageHasNoFileVersionInTheConsultedTable)
{
    const auto b = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0409, 0x04B0, someStrings});
    EXPECT_EQ(query(b, "\\StringFileInfo\\040904B0\\FileVersion"), "0.6.1.13");
    EXPECT_EQ(query(b, fileVersionPath), "<none>");
}

TEST(VersionBlock, TextsOutsideAsciiGoThroughUtf16)
{
    constexpr StringEntry strings[] = {
        {"FileVersion", "1.0 \xD0\xB1\xD0\xB5\xD1\x82\xD0\xB0 \xF0\x9F\x8E\xB2"}};
    const auto b = blockOf({{1, 0, 0, 0}, {1, 0, 0, 0}, 0x0419, 0x04E3, strings});
    EXPECT_EQ(query(b, fileVersionPath), "1.0 \xD0\xB1\xD0\xB5\xD1\x82\xD0\xB0 \xF0\x9F\x8E\xB2");
}

TEST(VersionBlock, AnEmptyStringIsFoundAndEmpty)
{
    constexpr StringEntry strings[] = {{"FileVersion", ""}};
    const auto b = blockOf({{1, 0, 0, 0}, {1, 0, 0, 0}, 0x0419, 0x04E3, strings});
    EXPECT_EQ(query(b, fileVersionPath), "");
}

TEST(VersionBlock, TooLargeForItsCapacityIsFlagged)
{
    const auto b = build<64>({{1, 0, 0, 0}, {1, 0, 0, 0}, 0x0419, 0x04E3, someStrings});
    EXPECT_TRUE(b.overflow);
}

TEST(VersionBlockLookup, MalformedBlocksGiveNothing)
{
    const auto good = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0419, 0x04E3, someStrings});
    EXPECT_EQ(query({}, fileVersionPath), "<none>");
    EXPECT_EQ(query({0, 0, 0, 0, 0, 0}, fileVersionPath), "<none>");

    auto zeroLength = good;
    zeroLength[0] = zeroLength[1] = 0;
    EXPECT_EQ(query(zeroLength, fileVersionPath), "<none>");

    auto tooLong = good;
    tooLong[0] = tooLong[1] = 0xFF;
    EXPECT_EQ(query(tooLong, fileVersionPath), "<none>");

    auto wrongRoot = good;
    wrongRoot[6] = 'W';
    EXPECT_EQ(query(wrongRoot, fileVersionPath), "<none>");

    // Every cut of the block: the lookup reads only what it is given.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const std::vector<std::uint8_t> cut(good.begin(),
                                            good.begin() + static_cast<std::ptrdiff_t>(n));
        const std::string r = query(cut, fileVersionPath);
        EXPECT_TRUE(r == "<none>" || r == "0.6.1.13" || std::string("0.6.1.13").starts_with(r))
            << n << ": " << r;
    }
}

TEST(VersionBlockLookup, AKeyWithoutItsZeroInsideTheNodeIsMalformed)
{
    // A root of 10 bytes whose key runs to its end without a terminating zero.
    const std::vector<std::uint8_t> b = {10, 0, 0, 0, 0, 0, 'V', 0, 'S', 0};
    EXPECT_EQ(query(b, fileVersionPath), "<none>");
}

TEST(VersionBlockLookup, AValueLongerThanItsNodeIsCutAtTheNode)
{
    auto b = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0419, 0x04E3, someStrings});
    // Find the FileVersion node's wValueLength (9 WCHARs with the zero) and claim 0xFFFF.
    const std::u16string key = u"FileVersion";
    for (std::size_t i = 6; i + 2 * key.size() <= b.size(); i += 2) {
        bool match = true;
        for (std::size_t k = 0; k < key.size() && match; ++k)
            match = at16(b, i + 2 * k) == key[k];
        if (match) {
            b[i - 4] = 0xFF;
            b[i - 3] = 0xFF;
            break;
        }
    }
    EXPECT_EQ(query(b, fileVersionPath), "0.6.1.13");
}

TEST(VersionBlockLookup, RandomMutationsNeverReadOutsideTheBlock)
{
    const auto good = blockOf({{0, 6, 1, 13}, {0, 6, 1, 13}, 0x0419, 0x04E3, someStrings});
    std::mt19937 rng(20240613);
    for (int round = 0; round < 20000; ++round) {
        auto b = good;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int f = 0; f < flips; ++f)
            b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
        if (rng() % 4 == 0) b.resize(rng() % b.size());
        (void)queryText(b, fileVersionPath);
    }
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> b(rng() % 512);
        for (auto& x : b)
            x = static_cast<std::uint8_t>(rng());
        if (b.size() >= 2 && rng() % 2) b[0] = static_cast<std::uint8_t>(b.size()), b[1] = 0;
        (void)queryText(b, fileVersionPath);
    }
    SUCCEED();
}
