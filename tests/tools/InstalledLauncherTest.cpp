// Tavrix installed into a temporary prefix from this build and started as a new user starts
// it: the launcher with a fresh home folder, the first-start question answered, the program
// found on the party of the user's folder (or of the folder given), and every file the program
// opens traced.
#include "forms/Unit1.h"
#include "store/PartySchema.h"
#include "tests/support/PartyFixture.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/tools/LauncherSupport.h"
#include "tools/FirstStartQuestion.h"
#include "tools/PartyFolder.h"
#include "ui/DataGrid.h"
#include "ui/StartedFileName.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using testing_support::AnswerFirstStart;
using testing_support::fileBytes;
using testing_support::rosterSize;
using testing_support::ScopedEnv;

namespace {

// One file the traced processes opened, or tried to.
struct Opened {
    fs::path path;
    bool writing = false;
    bool succeeded = false;
};

// What a traced start of the installed launcher did, up to the moment the program had its
// party file open.
struct TracedRun {
    std::vector<std::string> executed; // the files exec'd, in order
    std::vector<Opened> opened;
    std::string exe, commandLine; // the running program's /proc entries
    std::string output;
};

bool isPartyFileName(const std::string& name)
{
    return name == "Mirel.mdb" || name == "Mirel.mdb-journal" || name == "Mirel.mdb-wal" ||
           name == "Mirel.mdb-shm";
}

bool isUnder(const fs::path& path, const fs::path& folder)
{
    const auto rel = path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !rel.empty() && *rel.begin() != "..";
}

class InstalledLauncher : public ::testing::Test {
protected:
    testing_support::TempFolder temp;
    fs::path prefix = temp.path() / "prefix";
    fs::path home = temp.path() / "home";
    fs::path elsewhere = temp.path() / "elsewhere"; // the working folder of every start
    std::unique_ptr<ScopedEnv> homeEnv, dataEnv;
    std::string decoyBeside, decoyHere;

    void SetUp() override
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(TAVRIX_CMAKE_COMMAND, {"--install", TAVRIX_BUILD_DIR, "--prefix",
                                             QString::fromStdString(prefix.string())});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
        fs::create_directories(home);
        fs::create_directories(elsewhere);
        homeEnv = std::make_unique<ScopedEnv>("HOME", home.c_str());
        dataEnv = std::make_unique<ScopedEnv>("XDG_DATA_HOME", nullptr);
        // Parties where the program must not look: beside the installed executable, and in the
        // folder it is started from.
        store::createPartyFile((bin("Mirel.mdb")).string(), true);
        store::createPartyFile((elsewhere / "Mirel.mdb").string(), true);
        decoyBeside = fileBytes(bin("Mirel.mdb"));
        decoyHere = fileBytes(elsewhere / "Mirel.mdb");
    }
    void TearDown() override
    {
        EXPECT_EQ(fileBytes(bin("Mirel.mdb")), decoyBeside);
        EXPECT_EQ(fileBytes(elsewhere / "Mirel.mdb"), decoyHere);
    }

    fs::path bin(const char* name) const { return prefix / "bin" / name; }
    fs::path usersFolder() const { return home / ".local" / "share" / "tavrix" / "party"; }

    // The launcher's first start on a folder, in this process: the real question answered.
    std::optional<fs::path> firstStart(const fs::path& folder, const char* answer)
    {
        AnswerFirstStart answering(answer);
        auto start = launcher::preparePartyFolder(folder, launcher::installedProgram(bin("tavrix")),
                                                  launcher::askFirstStart);
        EXPECT_TRUE(answering.seen.shown);
        return start;
    }

    // Starts the installed launcher under strace, waits until the program has `party` open,
    // reads its /proc entries and ends it.
    TracedRun runTraced(const fs::path& launcherFile, const QStringList& arguments,
                        const fs::path& party)
    {
        TracedRun run;
        const fs::path log = temp.path() / "trace.log";
        fs::remove(log);
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(elsewhere.string()));
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start("strace", QStringList{"-f", "-qq", "-s", "4096", "-o",
                                            QString::fromStdString(log.string()), "-e",
                                            "trace=execve,open,openat,openat2,creat",
                                            QString::fromStdString(launcherFile.string())} +
                                    arguments);
        EXPECT_TRUE(process.waitForStarted(10000))
            << "strace: " << process.errorString().toStdString();

        const std::regex openCall(
            R"re(^(\d+) +(open|openat|openat2|creat)\((?:AT_FDCWD|\d+), "([^"]*)"(?:, ([A-Z_|]+))?.*= (-?\d+))re");
        const std::regex execCall(R"re(^(\d+) +execve\("([^"]*)".*= 0)re");
        pid_t program = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        bool partyOpen = false;
        while (!partyOpen && std::chrono::steady_clock::now() < deadline &&
               process.state() == QProcess::Running) {
            process.waitForFinished(100);
            std::ifstream in(log);
            run.executed.clear();
            run.opened.clear();
            for (std::string line; std::getline(in, line);) {
                std::smatch m;
                if (std::regex_search(line, m, execCall)) {
                    run.executed.push_back(m[2]);
                    program = std::stoi(m[1]);
                }
                else if (std::regex_search(line, m, openCall)) {
                    fs::path path = m[3].str();
                    if (path.is_relative()) path = elsewhere / path;
                    const std::string flags = m[4];
                    Opened o{path,
                             flags.find("O_WRONLY") != std::string::npos ||
                                 flags.find("O_RDWR") != std::string::npos ||
                                 flags.find("O_CREAT") != std::string::npos || m[2] == "creat",
                             std::stoi(m[5]) >= 0};
                    if (o.succeeded && o.path == party) partyOpen = true;
                    run.opened.push_back(o);
                }
            }
        }
        if (program > 0 && process.state() == QProcess::Running) {
            std::error_code error;
            run.exe = fs::read_symlink("/proc/" + std::to_string(program) + "/exe", error).string();
            std::ifstream cmdline("/proc/" + std::to_string(program) + "/cmdline");
            std::getline(cmdline, run.commandLine, '\0');
            // Let the program settle, so that whatever it opens while showing its window
            // is in the trace too.
            QTest::qWait(500);
            kill(program, SIGTERM);
        }
        if (!process.waitForFinished(20000)) process.kill();
        run.output = process.readAll().toStdString();
        EXPECT_TRUE(partyOpen) << "the program never opened " << party << "\n" << run.output;
        return run;
    }

    // The program ran on the party in `folder` and on nothing else.
    void expectOnlyThatFolder(const TracedRun& run, const fs::path& folder)
    {
        ASSERT_FALSE(run.executed.empty());
        EXPECT_EQ(run.executed.back(), (folder / "Tavrix").string())
            << "started through the folder's link";
        EXPECT_EQ(run.commandLine, (folder / "Tavrix").string());
        EXPECT_EQ(fs::path(run.exe), fs::canonical(bin("Tavrix")));
        for (const Opened& o : run.opened) {
            SCOPED_TRACE(o.path.string());
            if (isPartyFileName(o.path.filename().string())) {
                EXPECT_EQ(o.path.parent_path(), folder) << "a party file outside the folder";
            }
            // The toolkit may keep caches and settings in the home folder; nothing else of the
            // user's is written.
            if (o.writing && isUnder(o.path, temp.path())) {
                EXPECT_TRUE(isUnder(o.path, folder) || isUnder(o.path, home / ".cache") ||
                            isUnder(o.path, home / ".config"))
                    << "written outside the folder";
            }
        }
    }
};

} // namespace

TEST_F(InstalledLauncher, AFirstStartMakesTheUsersPartyAndASecondStartFindsIt)
{
    const auto start = firstStart(launcher::defaultPartyFolder(), "Start with a sample party");
    ASSERT_TRUE(start);
    EXPECT_EQ(*start, usersFolder() / "Tavrix");
    const fs::path party = usersFolder() / "Mirel.mdb";
    const int roster = rosterSize(party);
    ASSERT_GT(roster, 0);
    EXPECT_EQ(fs::read_symlink(*start), bin("Tavrix"));

    {
        // The window, started by the path the launcher starts the program by, shows that party
        // and no error.
        testing_support::ScriptedMessageBoxes boxes;
        TForm1 window(nullptr, ui::fileNameStartedBy(QString::fromStdString(start->string())));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front().toStdString();
        EXPECT_EQ(window.ADOTable1.recordCount(), roster);
        auto* grid = window.findChild<ui::DataGrid*>("DBGridEh1");
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->model()->rowCount(), roster);
    }

    // A second start, as the menu entry runs it: the same party, no question.
    struct stat first {};
    ::stat(party.c_str(), &first);
    const TracedRun run = runTraced(bin("tavrix"), {}, party);
    expectOnlyThatFolder(run, usersFolder());
    struct stat second {};
    ::stat(party.c_str(), &second);
    EXPECT_EQ(second.st_ino, first.st_ino);
    EXPECT_EQ(rosterSize(party), roster);
}

TEST_F(InstalledLauncher, AFolderOnTheCommandLineGetsItsOwnParty)
{
    ASSERT_TRUE(firstStart(launcher::defaultPartyFolder(), "Start with a sample party"));
    const fs::path campaign = home / "campaigns" / "eberron";
    ASSERT_TRUE(firstStart(campaign, "Start with an empty party"));
    EXPECT_EQ(rosterSize(campaign / "Mirel.mdb"), 0);

    // The link as an older installation elsewhere left it, and the launcher started through a
    // link of the user's own: the link is mended to this installation.
    fs::remove(campaign / "Tavrix");
    fs::create_symlink("/usr/games/Tavrix", campaign / "Tavrix");
    fs::create_directories(home / "bin");
    fs::create_symlink(bin("tavrix"), home / "bin" / "tavrix");

    const TracedRun run =
        runTraced(home / "bin" / "tavrix", {QString::fromStdString(campaign.string())},
                  campaign / "Mirel.mdb");
    expectOnlyThatFolder(run, campaign);
    EXPECT_EQ(fs::read_symlink(campaign / "Tavrix"), bin("Tavrix"));
}

TEST_F(InstalledLauncher, SaysHowItIsUsedAndRefusesWrongArguments)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"--help"}, 0, "usage: tavrix [FOLDER]"},
        {{"-h"}, 0, "~/.local/share/tavrix/party"},
        {{"one", "two"}, 2, "tavrix: unexpected argument 'two'"},
        {{"--colour"}, 2, "tavrix: unexpected argument '--colour'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QString::fromStdString(bin("tavrix").string()), c.arguments);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitCode(), c.exitCode);
        EXPECT_NE(process.readAll().toStdString().find(c.says), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(home / ".local")) << "nothing made for a question about usage";
}

TEST_F(InstalledLauncher, InstallsWhatTheDesktopAndTheManualNeed)
{
    const fs::path share = prefix / "share";
    for (const fs::path& file :
         {share / "man" / "man1" / "tavrix.1.gz", share / "man" / "man1" / "Tavrix.1.gz",
          share / "man" / "man1" / "tavrix-newdb.1.gz",
          share / "metainfo" / "org.example.tavrix.metainfo.xml",
          share / "doc" / "tavrix" / "changelog.gz",
          share / "icons" / "hicolor" / "48x48" / "apps" / "tavrix.png"})
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    // The menu entry runs the launcher.
    EXPECT_NE(fileBytes(share / "applications" / "Tavrix.desktop").find("\nExec=tavrix\n"),
              std::string::npos);
    // The copyright names the embedded fonts' licence.
    EXPECT_NE(fileBytes(share / "doc" / "tavrix" / "copyright").find("SIL Open Font License"),
              std::string::npos);
}
