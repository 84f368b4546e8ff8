// The qinglan-edb executable, run as a user would run it.
#include "edb/RecordDatabase.h"

#include "support/TempDataDir.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EdbTool : public ::testing::Test {
protected:
    qinglan::test::TempDataDir dir;
    fs::path file = dir.path() / "mote.edb";

    ToolRun run(const std::vector<std::string>& args) {
        std::string cmd = quote((qinglan::test::buildDir() / "qinglan-edb").string());
        for (const auto& a : args)
            cmd += " " + quote(a);
        fs::path out = dir.path() / "out.txt", err = dir.path() / "err.txt";
        cmd += " >" + quote(out.string()) + " 2>" + quote(err.string());
        int status = std::system(cmd.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }
    void expectOneLineReason(const ToolRun& r) {
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
};

TEST_F(EdbTool, InitSettingsGives207DefaultFields) {
    ASSERT_EQ(run({file.string(), "init-settings"}).exitCode, 0);
    ToolRun r = run({file.string(), "fields"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines;
    std::stringstream ss(r.out);
    for (std::string line; std::getline(ss, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 207u);
    EXPECT_EQ(lines[0], "1\t1");
    EXPECT_EQ(lines[5], "6\t黑体");
    EXPECT_EQ(lines[58], "59\t增强型(EVR)");
    EXPECT_EQ(lines[191], "192\tCtrl+Alt+Q");
    EXPECT_EQ(lines[195], "196\t70");
    EXPECT_EQ(lines[206], "207\t0");
    // An existing file is never replaced.
    ToolRun again = run({file.string(), "init-settings"});
    EXPECT_EQ(again.exitCode, 1);
    expectOneLineReason(again);
}

TEST_F(EdbTool, FileIsReadableNeitherAsPlainSqliteNorWithAnotherPassword) {
    ASSERT_EQ(run({file.string(), "init-settings"}).exitCode, 0);
    EXPECT_NE(slurp(file).substr(0, 15), "SQLite format 3");
    EXPECT_EQ(slurp(file).find("黑体"), std::string::npos);
    ToolRun r = run({"--password", "guess", file.string(), "count"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("wrong password"), std::string::npos) << r.err;
    expectOneLineReason(r);
    EXPECT_FALSE(qinglan::edb::RecordDatabase::open(file, "guess").ok());
}

TEST_F(EdbTool, GetSetKeepTheFieldType) {
    ASSERT_EQ(run({file.string(), "init-settings"}).exitCode, 0);
    EXPECT_EQ(run({file.string(), "set", "6", "宋体 Bold"}).exitCode, 0);
    EXPECT_EQ(run({file.string(), "get", "6"}).out, "宋体 Bold\n");
    EXPECT_EQ(run({file.string(), "set", "170", "1024"}).exitCode, 0);
    EXPECT_EQ(run({file.string(), "get", "170"}).out, "1024\n");
    ToolRun bad = run({file.string(), "set", "170", "wide"});
    EXPECT_EQ(bad.exitCode, 2);
    expectOneLineReason(bad);
    EXPECT_EQ(run({file.string(), "get", "170"}).out, "1024\n");
    auto db = qinglan::edb::RecordDatabase::open(file, std::string("qLn#8wR4zK"));
    ASSERT_TRUE(db.ok()) << "the default password is the player's";
    EXPECT_TRUE(db.value().read(170).value().isInteger());
}

TEST_F(EdbTool, ListCommands) {
    fs::path list = dir.path() / "means.edb";
    ASSERT_TRUE(qinglan::edb::RecordDatabase::create(list, "qLn#8wR4zK").ok());
    for (const char* path : {"/视频/a b.mp4", "/b.mkv", "/视频/a b.mp4"})
        ASSERT_EQ(run({list.string(), "append", path}).exitCode, 0);
    EXPECT_EQ(run({list.string(), "count"}).out, "3\n");
    EXPECT_EQ(run({list.string(), "list"}).out, "/视频/a b.mp4\n/b.mkv\n/视频/a b.mp4\n");
    EXPECT_EQ(run({list.string(), "delete", "/视频/a b.mp4"}).exitCode, 0);
    EXPECT_EQ(run({list.string(), "list"}).out, "/b.mkv\n");
    EXPECT_EQ(run({list.string(), "clear"}).exitCode, 0);
    EXPECT_EQ(run({list.string(), "count"}).out, "0\n");
    EXPECT_EQ(run({list.string(), "check"}).out, "ok\n");
    ToolRun empty = run({list.string(), "fields"});
    EXPECT_EQ(empty.exitCode, 1);
    expectOneLineReason(empty);
}

TEST_F(EdbTool, UsageAndOpenErrors) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {file.string()},
                                               {file.string(), "bogus"},
                                               {file.string(), "get"},
                                               {file.string(), "get", "x"},
                                               {file.string(), "append", "a", "b"},
                                               {"--password"}}) {
        ToolRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        expectOneLineReason(r);
    }
    ToolRun missing = run({file.string(), "count"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
    EXPECT_FALSE(fs::exists(file));
    std::ofstream(file) << "hello";
    ToolRun foreign = run({file.string(), "list"});
    EXPECT_EQ(foreign.exitCode, 3);
    EXPECT_NE(foreign.err.find("not a record database"), std::string::npos);
    expectOneLineReason(foreign);
    EXPECT_EQ(slurp(file), "hello");
}

} // namespace
