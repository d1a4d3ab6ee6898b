#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "generators/writers/png_writer.h"
#include "cli/read_file.h"
#include "generators/writers/ym_song_writer.h"

namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path;
    Folder() {
        char name[] = "/tmp/atomic-file-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(path)) out.insert(entry.path().filename().string());
        return out;
    }
};

std::string contents(const std::string& path) {
    std::string out;
    EXPECT_TRUE(readWholeFile(path, out)) << path;
    return out;
}

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Runs `body` in a child process; returns its wait status.
template <class Body>
int inChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        std::_Exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace

TEST(AtomicFile, WritesTheWholeFileAndNothingElse) {
    Folder dir;
    // Both writers' outputs through the one writeFileBytes.
    const std::vector<uint8_t> png = encodePngRgb(1, 1, {{1, 2, 3}});
    const std::vector<uint8_t> song = writeOldRegisterSong("YM3!", composeOldTune(5));
    ASSERT_TRUE(writeFileBytes(dir / "a.png", png));
    ASSERT_TRUE(writeFileBytes(dir / "a.ym", song));
    ASSERT_TRUE(writeFileBytes(dir / "empty", {}));
    EXPECT_EQ(contents(dir / "a.png"), std::string(png.begin(), png.end()));
    EXPECT_EQ(contents(dir / "a.ym"), std::string(song.begin(), song.end()));
    EXPECT_EQ(contents(dir / "empty"), "");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"a.png", "a.ym", "empty"}));
}

TEST(AtomicFile, ReplacesATargetKeepingItsModeAndItsLink) {
    Folder dir;
    ASSERT_TRUE(writeFileBytes(dir / "target", bytes("old")));
    chmod((dir / "target").c_str(), 0640);
    fs::create_symlink("target", dir / "link");
    ASSERT_TRUE(writeFileBytes(dir / "link", bytes("new")));
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(contents(dir / "target"), "new");
    struct stat info;
    ASSERT_EQ(stat((dir / "target").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.names(), (std::set<std::string>{"link", "target"}));
}

TEST(AtomicFile, FailuresSayWhyAndLeaveNothing) {
    Folder dir;
    std::string error;
    EXPECT_FALSE(writeFileBytes(dir / "missing/a", bytes("x"), &error));
    EXPECT_EQ(error, "cannot create " + (dir / "missing/a") + ": No such file or directory");
    // In place: a device cannot be renamed over.
    EXPECT_FALSE(writeFileBytes("/dev/full", bytes("x"), &error));
    EXPECT_EQ(error, "cannot write /dev/full: No space left on device");
    EXPECT_TRUE(writeFileBytes("/dev/null", bytes("x"), &error));

    // Whatever the stream saw go wrong fails the commit, also when the caller
    // wrote through it directly and did not look (a read on the write-only
    // stream sets its error indicator without a byte written).
    AtomicFile file;
    ASSERT_TRUE(openAtomicFile(&file, dir / "failed", &error));
    std::fputs("data", file.file);
    std::fgetc(file.file);
    EXPECT_FALSE(commitAtomicFile(&file, &error));
    EXPECT_EQ(error.rfind("cannot write " + (dir / "failed") + ": ", 0), 0u) << error;

    ASSERT_TRUE(openAtomicFile(&file, dir / "abandoned", &error));
    ASSERT_TRUE(writeAtomicFile(&file, "abc", 3, &error));
    abandonAtomicFile(&file);
    EXPECT_TRUE(dir.names().empty());
}

TEST(AtomicFile, TheLongestNameGetsATemporaryThatFits) {
    Folder dir;
    const std::string name(255, 'n');
    ASSERT_TRUE(writeFileBytes(dir / name, bytes("long")));
    EXPECT_EQ(dir.names(), (std::set<std::string>{name}));
}

TEST(AtomicFile, SignalsRemoveTheTemporaryAndEndTheProcess) {
    Folder dir;
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        const int status = inChild([&] {
            AtomicFile file;
            std::string error;
            if (!openAtomicFile(&file, dir / "out", &error)) std::_Exit(3);
            writeAtomicFile(&file, "partial", 7, &error);
            std::fflush(file.file);
            raise(signalNumber);
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << signalNumber;
        EXPECT_TRUE(dir.names().empty()) << signalNumber;
    }
    // Under nohup a hang-up stays ignored and the file is finished.
    const int status = inChild([&] {
        signal(SIGHUP, SIG_IGN);
        AtomicFile file;
        std::string error;
        if (!openAtomicFile(&file, dir / "out", &error)) std::_Exit(3);
        raise(SIGHUP);
        writeAtomicFile(&file, "whole", 5, &error);
        std::_Exit(commitAtomicFile(&file, &error) ? 0 : 4);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(contents(dir / "out"), "whole");
}

// A signal at any moment of a file's life, hundreds of times: whatever is
// left is whole, and no temporary survives, also when the signal lands
// between creating a temporary and registering it.
TEST(AtomicFile, SignalsAtAnyMomentLeaveOnlyWholeFiles) {
    Folder dir;
    const std::vector<uint8_t> whole = bytes(std::string(3000, 'w'));
    unsigned seed = 1;
    for (int run = 0; run < 300; ++run) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; ++i) writeFileBytes(dir / std::to_string(i % 50), whole);
        }
        usleep(useconds_t(rand_r(&seed) % 3000));
        kill(pid, run % 2 ? SIGINT : SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    for (const std::string& name : dir.names()) {
        ASSERT_EQ(name.find('.'), std::string::npos) << "a temporary is left: " << name;
        ASSERT_EQ(contents(dir / name).size(), whole.size()) << name;
    }
}

TEST(AtomicFile, TemporariesForOtherProgramsAreRenamedOrRemoved) {
    Folder dir;
    std::string made, error;
    ASSERT_TRUE(createTemporaryBeside(dir / "video.mp4", "partial", ".mp4", &made, &error));
    EXPECT_EQ(fs::path(made).parent_path(), dir.path);
    EXPECT_EQ(made.substr(made.size() - 4), ".mp4");
    { std::ofstream(made) << "muxed"; }
    ASSERT_TRUE(renameIntoPlace(made, dir / "video.mp4", &error));
    ASSERT_TRUE(createTemporaryBeside(dir / "video.mp4", "sound", ".wav", &made, &error));
    // A fatal exit of the tool removes what is still registered.
    const int status = inChild([] { removeRegisteredTemporaries(); });
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"video.mp4"}));
    EXPECT_EQ(contents(dir / "video.mp4"), "muxed");
}
