// GetFileVersionString on real files and on ELF images of every kind, whole, cut and mutated.
#include "platform/FileVersion.h"
#include "platform/ElfSection.h"
#include "platform/VersionInfo.h"

#include "ElfImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

using namespace platform;
using testing_support::ElfImageOptions;
using testing_support::makeElfImage;

namespace {

const std::string projectVersion = TAVRIX_TEST_PROJECT_VERSION;

std::string selfPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> blockOf(std::uint16_t language, std::uint16_t codePage,
                                  std::string_view fileVersion = "2.3.4.5")
{
    const versioninfo::StringEntry strings[] = {{"FileVersion", fileVersion},
                                                {"ProductName", "Test"}};
    const auto b =
        versioninfo::build<1024>({{2, 3, 4, 5}, {2, 3, 4, 5}, language, codePage, strings});
    return {b.bytes.begin(), b.bytes.begin() + static_cast<std::ptrdiff_t>(b.size)};
}

// What GetFileVersionString gives for a file with these bytes, read from memory.
std::string versionOfImage(std::span<const std::uint8_t> image)
{
    MemorySource source(image);
    return fileVersionStringIn(source);
}

class TempFile {
public:
    explicit TempFile(const std::vector<std::uint8_t>& bytes)
    {
        char name[] = "/tmp/tavrix-version-XXXXXX";
        const int fd = mkstemp(name);
        path_ = name;
        if (fd >= 0) {
            if (!bytes.empty()) {
                const auto written = ::write(fd, bytes.data(), bytes.size());
                EXPECT_EQ(written, static_cast<ssize_t>(bytes.size()));
            }
            ::close(fd);
        }
    }
    ~TempFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace

#ifdef TAVRIX_PROGRAM_FILE
TEST(GetFileVersionString, TheProgramCarriesItsFileVersion)
{
    EXPECT_EQ(GetFileVersionString(TAVRIX_PROGRAM_FILE), "0.6.1.13");
}
#endif

TEST(GetFileVersionString, AnExecutableLinkedWithTheVersionBlockGivesTheProjectVersion)
{
    // The project's version, 0.6.1.13 as this is written, from the root CMakeLists.txt.
    EXPECT_EQ(GetFileVersionString(selfPath()), projectVersion);
    EXPECT_EQ(std::count(projectVersion.begin(), projectVersion.end(), '.'), 3);
}

TEST(GetFileVersionString, TheSectionHoldsTheWholeBlockOfTheProject)
{
    FileSource self(selfPath());
    const auto block = readElfSection(self, versioninfo::sectionName, 0xFFFF);
    ASSERT_TRUE(block.has_value());
    const auto text = [&](std::string_view key) {
        const auto t = versioninfo::queryText(*block, std::string("\\StringFileInfo\\041904E3\\") +
                                                          std::string(key));
        return t ? versioninfo::toUtf8(*t) : std::string("<none>");
    };
    EXPECT_EQ(text("ProductVersion"), "1.0.0.0");
    EXPECT_EQ(text("ProductName"), "Tavrix");
    // Fixed file and product versions: the project's.
    ASSERT_GE(block->size(), 64u);
    auto at32 = [&](std::size_t i) {
        return std::uint32_t((*block)[i]) | std::uint32_t((*block)[i + 1]) << 8 |
               std::uint32_t((*block)[i + 2]) << 16 | std::uint32_t((*block)[i + 3]) << 24;
    };
    const std::uint32_t ms = TAVRIX_TEST_VERSION_MAJOR << 16 | TAVRIX_TEST_VERSION_MINOR;
    const std::uint32_t ls = TAVRIX_TEST_VERSION_PATCH << 16 | TAVRIX_TEST_VERSION_TWEAK;
    EXPECT_EQ(at32(40), versioninfo::fixedSignature);
    EXPECT_EQ(at32(48), ms); // file version
    EXPECT_EQ(at32(52), ls);
    EXPECT_EQ(at32(56), ms); // product version
    EXPECT_EQ(at32(60), ls);
}

TEST(GetFileVersionString, FilesWithoutTheBlockGiveTheEmptyText)
{
    EXPECT_EQ(GetFileVersionString("/bin/true"), "");
    EXPECT_EQ(GetFileVersionString("/no/such/file"), "");
    EXPECT_EQ(GetFileVersionString(""), "");
    EXPECT_EQ(GetFileVersionString("/tmp"), "");      // a directory
    EXPECT_EQ(GetFileVersionString("/dev/zero"), ""); // endless: never read
    EXPECT_EQ(GetFileVersionString("/dev/null"), "");
    TempFile text({'h', 'e', 'l', 'l', 'o', '\n'});
    EXPECT_EQ(GetFileVersionString(text.path()), "");
    TempFile empty({});
    EXPECT_EQ(GetFileVersionString(empty.path()), "");
}

TEST(GetFileVersionString, ReadsEveryClassAndByteOrder)
{
    const auto block = blockOf(0x0419, 0x04E3);
    for (const bool is64 : {false, true})
        for (const bool big : {false, true})
            for (const bool extended : {false, true}) {
                const auto image = makeElfImage({{".text", {1, 2, 3}}, {".tavrix_version", block}},
                                                ElfImageOptions{is64, big, extended});
                EXPECT_EQ(versionOfImage(image), "2.3.4.5") << is64 << big << extended;
                TempFile file(image);
                EXPECT_EQ(GetFileVersionString(file.path()), "2.3.4.5") << is64 << big << extended;
            }
}

TEST(GetFileVersionString, ABlockOfAnotherLanguageOrCodePageGivesTheEmptyText)
{
    for (const auto& [language, codePage] : std::vector<std::pair<std::uint16_t, std::uint16_t>>{
             {0x0409, 0x04B0}, {0x0409, 0x04E3}, {0x0419, 0x04B0}}) {
        TempFile file(makeElfImage({{".tavrix_version", blockOf(language, codePage)}}));
        EXPECT_EQ(GetFileVersionString(file.path()), "") << std::hex << language << codePage;
    }
}

TEST(GetFileVersionString, OnlyTheNamedSectionCounts)
{
    const auto block = blockOf(0x0419, 0x04E3);
    EXPECT_EQ(versionOfImage(makeElfImage({{".tavrix_versio", block}})), "");
    EXPECT_EQ(versionOfImage(makeElfImage({{".tavrix_version2", block}})), "");
    EXPECT_EQ(versionOfImage(makeElfImage({{".rodata", block}})), "");
    // A section without bytes in the file (SHT_NOBITS) is not read.
    EXPECT_EQ(versionOfImage(makeElfImage({{".tavrix_version", block, 8}})), "");
    // The first of two sections of the name counts.
    EXPECT_EQ(versionOfImage(makeElfImage({{".tavrix_version", blockOf(0x0419, 0x04E3, "1.1")},
                                           {".tavrix_version", blockOf(0x0419, 0x04E3, "2.2")}})),
              "1.1");
}

TEST(GetFileVersionString, EveryCutOfAFileGivesTheTextOrNothing)
{
    for (const bool is64 : {false, true}) {
        const auto image =
            makeElfImage({{".tavrix_version", blockOf(0x0419, 0x04E3)}}, {is64, false, false});
        for (std::size_t n = 0; n < image.size(); ++n) {
            const std::span<const std::uint8_t> cut(image.data(), n);
            EXPECT_EQ(versionOfImage(cut), "") << n;
        }
        EXPECT_EQ(versionOfImage(image), "2.3.4.5");
    }
    // A real executable cut at many places, read from disk as the program reads itself.
    const auto self = readFile(selfPath());
    ASSERT_GT(self.size(), 4096u);
    std::mt19937 rng(7);
    for (int round = 0; round < 12; ++round) {
        const std::size_t n = round < 4 ? std::size_t(round) * 20 : rng() % self.size();
        TempFile file(
            std::vector<std::uint8_t>(self.begin(), self.begin() + static_cast<std::ptrdiff_t>(n)));
        const std::string v = GetFileVersionString(file.path());
        EXPECT_TRUE(v.empty()) << n << ": " << v; // the section headers stand at the end
    }
}

TEST(GetFileVersionString, HugeSizesClaimedInTheHeadersGiveNothing)
{
    const auto image = makeElfImage({{".tavrix_version", blockOf(0x0419, 0x04E3)}});
    auto put64 = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint64_t v) {
        for (int i = 0; i < 8; ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const std::uint64_t shoff = [&] {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v |= std::uint64_t(image[0x28 + i]) << (8 * i);
        return v;
    }();
    {
        auto b = image; // section header table far beyond the end
        put64(b, 0x28, ~std::uint64_t{0} - 10);
        EXPECT_EQ(versionOfImage(b), "");
    }
    {
        auto b = image; // a section count the file cannot hold
        b[0x3C] = 0xFF, b[0x3D] = 0xFF;
        EXPECT_EQ(versionOfImage(b), "");
    }
    {
        auto b = image; // a huge entry size
        b[0x3A] = 0xFF, b[0x3B] = 0xFF;
        EXPECT_EQ(versionOfImage(b), "");
    }
    {
        auto b = image; // the version section (index 1) claims 2^64 - 1 bytes
        put64(b, shoff + 64 + 32, ~std::uint64_t{0});
        EXPECT_EQ(versionOfImage(b), "");
    }
    {
        auto b = image; // ... or starts far away
        put64(b, shoff + 64 + 24, std::uint64_t{1} << 62);
        EXPECT_EQ(versionOfImage(b), "");
    }
    {
        auto b = image; // the name table claims a huge size
        put64(b, shoff + 2 * 64 + 32, std::uint64_t{1} << 40);
        EXPECT_EQ(versionOfImage(b), "");
    }
    {
        auto b = image; // extended numbering claiming 2^64 sections
        b[0x3C] = 0, b[0x3D] = 0;
        put64(b, shoff + 32, ~std::uint64_t{0});
        EXPECT_EQ(versionOfImage(b), "");
    }
}

TEST(GetFileVersionString, RandomMutationsOfFilesNeverCrashOrHang)
{
    std::mt19937 rng(1251);
    // Small images of every kind, mutated anywhere.
    for (int round = 0; round < 4000; ++round) {
        const ElfImageOptions o{rng() % 2 == 0, rng() % 2 == 0, rng() % 4 == 0};
        auto image = makeElfImage(
            {{".text", {1, 2, 3, 4}}, {".tavrix_version", blockOf(0x0419, 0x04E3)}}, o);
        const int flips = 1 + static_cast<int>(rng() % 6);
        for (int f = 0; f < flips; ++f)
            image[rng() % image.size()] = static_cast<std::uint8_t>(rng());
        if (rng() % 5 == 0) image.resize(rng() % image.size());
        const std::string v = versionOfImage(image);
        EXPECT_LE(v.size(), 0xFFFFu);
    }
    // The real executable, mutated where the search looks: its header, its section header
    // table and its version section (mutated in place and put back).
    auto self = readFile(selfPath());
    ASSERT_EQ(versionOfImage(self), projectVersion);
    const std::uint64_t shoff = [&] {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v |= std::uint64_t(self[0x28 + i]) << (8 * i);
        return v;
    }();
    ASSERT_LT(shoff, self.size());
    const std::size_t tableBytes = self.size() - shoff;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::pair<std::size_t, std::uint8_t>> saved;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) {
            std::size_t at = 0;
            switch (rng() % 3) {
            case 0:
                at = rng() % 64;
                break;
            case 1:
                at = shoff + rng() % tableBytes;
                break;
            default:
                at = rng() % self.size();
                break;
            }
            saved.emplace_back(at, self[at]);
            self[at] = static_cast<std::uint8_t>(rng());
        }
        (void)versionOfImage(self);
        for (auto it = saved.rbegin(); it != saved.rend(); ++it)
            self[it->first] = it->second;
    }
    EXPECT_EQ(versionOfImage(self), projectVersion);
    // Random bytes, some with an ELF signature in front.
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> b(rng() % 2048);
        for (auto& x : b)
            x = static_cast<std::uint8_t>(rng());
        if (b.size() >= 6 && rng() % 2)
            b[0] = 0x7F, b[1] = 'E', b[2] = 'L', b[3] = 'F', b[4] = 1 + rng() % 2,
            b[5] = 1 + rng() % 2;
        EXPECT_EQ(versionOfImage(b), "");
    }
    // A few mutated images through the file reader too.
    for (int round = 0; round < 50; ++round) {
        auto image = makeElfImage({{".tavrix_version", blockOf(0x0419, 0x04E3)}},
                                  {rng() % 2 == 0, rng() % 2 == 0, false});
        image[rng() % image.size()] = static_cast<std::uint8_t>(rng());
        TempFile file(image);
        EXPECT_EQ(GetFileVersionString(file.path()), versionOfImage(image));
    }
}
