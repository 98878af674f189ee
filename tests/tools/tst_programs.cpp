// Both programs as a user meets them: --version and --help, a display that
// cannot be opened, and the install tree. Each runs as its own process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace
{

struct TExec {
    int Status = -1; // the exit status, or -1 when the process did not exit (a signal)
    std::string Out, Err;
};

std::string Slurp(const fs::path &path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `command` through the shell with `env` in front of it.
TExec Exec(const std::string &env, const std::string &command)
{
    const fs::path stem =
        fs::path(testing::TempDir()) /
        (std::string("programs_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path out = stem.string() + ".out", err = stem.string() + ".err";
    const std::string line =
        env + " " + command + " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    const int raw = std::system(line.c_str());
    TExec r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = Slurp(out);
    r.Err = Slurp(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

std::string Quoted(const char *path)
{
    return std::string("'") + path + "'";
}

TEST(Programs, AnswerVersionAndHelpWithoutADisplay)
{
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    for (const auto &[binary, name] :
         {std::pair{VELMORA_BINARY, "velmora"}, std::pair{VELMORA_SIM_BINARY, "velmora-sim"}}) {
        TExec r = Exec(noDisplay, Quoted(binary) + " --version");
        EXPECT_EQ(r.Status, 0) << name;
        EXPECT_EQ(r.Out, std::string(name) + " " + VELMORA_VERSION + "\n");
        EXPECT_TRUE(r.Err.empty()) << r.Err;

        r = Exec(noDisplay, Quoted(binary) + " --help");
        EXPECT_EQ(r.Status, 0) << name;
        EXPECT_EQ(r.Out.rfind(std::string("Usage: ") + name + " ", 0), 0u) << r.Out;
        EXPECT_TRUE(r.Err.empty()) << r.Err;
    }
    // The window's help points to the program that needs no display.
    EXPECT_NE(Exec(noDisplay, Quoted(VELMORA_BINARY) + " --help").Out.find("velmora-sim"),
              std::string::npos);
}

TEST(Programs, ADisplayThatCannotBeOpenedIsOneLineAndStatus1)
{
    for (const char *display : {":99", "nowhere:7"}) {
        const TExec r =
            Exec(std::string("env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY=") + display,
                 Quoted(VELMORA_BINARY));
        EXPECT_EQ(r.Status, 1) << r.Err; // not Qt's abort
        EXPECT_TRUE(r.Out.empty());
        EXPECT_EQ(r.Err, std::string("velmora: cannot open the display \"") + display +
                             "\"; velmora-sim runs the same model without a window (see "
                             "velmora-sim --help)\n");
    }
    // No display at all is said before the toolkit starts.
    const TExec none =
        Exec("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", Quoted(VELMORA_BINARY));
    EXPECT_EQ(none.Status, 1);
    EXPECT_NE(none.Err.find("velmora-sim"), std::string::npos);
    EXPECT_EQ(none.Err.find('\n'), none.Err.size() - 1);
}

TEST(Programs, InstallPutsBothProgramsInTheSameBinDirectory)
{
    const fs::path prefix = fs::path(testing::TempDir()) / "velmora-install-tree";
    fs::remove_all(prefix);
    const TExec r = Exec("", Quoted(CMAKE_COMMAND) + " --install " + Quoted(VELMORA_BUILD_DIR) +
                                 " --prefix '" + prefix.string() + "'");
    ASSERT_EQ(r.Status, 0) << r.Out << r.Err;
    const fs::path bin = prefix / VELMORA_INSTALL_BINDIR;
    for (const char *name : {"velmora", "velmora-sim"}) {
        const fs::path program = bin / name;
        ASSERT_TRUE(fs::is_regular_file(program)) << program;
        EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none);
    }
    // The installed tool runs on its own.
    const TExec sim = Exec("", Quoted((bin / "velmora-sim").c_str()) + " --rpm 2000");
    EXPECT_EQ(sim.Status, 0) << sim.Err;
    EXPECT_NE(sim.Out.find("\n0,2000,47.0184"), std::string::npos) << sim.Out;
    fs::remove_all(prefix);
}

} // namespace
