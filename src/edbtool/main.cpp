// qinglan-edb: inspect and change the player's .edb files from a terminal.
// Exit codes: 0 success, 1 the operation failed, 2 usage error, 3 the file cannot be opened.

#include "edb/RecordDatabase.h"
#include "settings/SettingsStore.h"
#include "settings/StoreLocation.h"

#include <qinglan/Version.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace qinglan;

namespace {

constexpr int kFailed = 1, kUsage = 2, kCannotOpen = 3;

const char* const kUsageText =
    "usage: qinglan-edb [--password P] FILE COMMAND [ARG]\n"
    "       qinglan-edb --help | --version\n"
    "commands (fields of record 1, records in file order):\n"
    "  fields          print every field of record 1 as N<TAB>value\n"
    "  get N           print field N of record 1\n"
    "  set N VALUE     store VALUE in field N of record 1 (an integer if the field holds one)\n"
    "  list            print field 1 of every record\n"
    "  append TEXT     append a record whose field 1 is TEXT\n"
    "  delete TEXT     remove every record whose field 1 is TEXT, then compact the file\n"
    "  clear           remove every record\n"
    "  count           print the number of records\n"
    "  check           run SQLite's full integrity check; prints ok or the first problem\n"
    "  init-settings   create FILE as a settings file holding every default\n"
    "  create          create FILE as an empty record file (a video list, for instance)\n"
    "The default password is the player's own.\n";

int usage(const std::string& reason) {
    std::cerr << "qinglan-edb: " << reason << " (see qinglan-edb --help)\n";
    return kUsage;
}

int failed(const edb::Status& s) {
    std::cerr << "qinglan-edb: " << s.message() << "\n";
    return kFailed;
}

std::optional<int> parseInt(const std::string& s) {
    int n = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return n;
}

struct Command {
    std::string name;
    std::size_t args;
};

const std::vector<Command> kCommands = {
    {"fields", 0}, {"get", 1},   {"set", 2},   {"list", 0},          {"append", 1}, {"delete", 1},
    {"clear", 0},  {"count", 0}, {"check", 0}, {"init-settings", 0}, {"create", 0}};

int run(edb::RecordDatabase& db, const std::string& cmd, const std::vector<std::string>& args) {
    auto needFirstRecord = [&]() -> edb::Status { return db.goTo(1); };
    if (cmd == "fields") {
        if (auto s = needFirstRecord(); !s.ok()) return failed(s);
        auto all = db.readAll();
        if (!all.ok()) return failed(all.status());
        for (const auto& [n, v] : all.value())
            std::cout << n << '\t' << v.toText() << '\n';
    } else if (cmd == "get" || cmd == "set") {
        auto field = parseInt(args[0]);
        if (!field || *field < 1)
            return usage("field number must be a positive integer: " + args[0]);
        if (auto s = needFirstRecord(); !s.ok()) return failed(s);
        auto current = db.read(*field);
        if (!current.ok()) return failed(current.status());
        if (cmd == "get") {
            std::cout << current.value().toText() << '\n';
        } else if (current.value().isInteger()) {
            auto n = parseInt(args[1]);
            if (!n) return usage("field " + args[0] + " holds an integer: " + args[1]);
            if (auto s = db.write(*field, std::int32_t{*n}); !s.ok()) return failed(s);
        } else if (auto s = db.write(*field, args[1]); !s.ok()) {
            return failed(s);
        }
    } else if (cmd == "list") {
        auto all = db.readFieldOfAll(1);
        if (!all.ok()) return failed(all.status());
        for (const auto& v : all.value())
            std::cout << v.toText() << '\n';
    } else if (cmd == "append") {
        if (auto s = db.append({{1, args[0]}}); !s.ok()) return failed(s);
    } else if (cmd == "delete") {
        auto removed = db.removeByFirstField(args[0]);
        if (!removed.ok()) return failed(removed.status());
    } else if (cmd == "clear") {
        if (auto s = db.clear(); !s.ok()) return failed(s);
    } else if (cmd == "count") {
        auto n = db.count();
        if (!n.ok()) return failed(n.status());
        std::cout << n.value() << '\n';
    } else if (cmd == "check") {
        if (auto s = db.checkIntegrity(); !s.ok()) return failed(s);
        std::cout << "ok\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::optional<std::string> password;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--help" || words[i] == "-h") {
            std::cout << kUsageText;
            return 0;
        }
        if (words[i] == "--version") {
            std::cout << "qinglan-edb " << kVersion << '\n';
            return 0;
        }
        if (words[i] == "--password") {
            if (i + 1 >= words.size()) return usage("--password needs a value");
            password = words[++i];
        } else if (words[i].rfind("--password=", 0) == 0) {
            password = words[i].substr(11);
        } else {
            positional.push_back(words[i]);
        }
    }
    if (positional.size() < 2) return usage("FILE and COMMAND are required");
    const std::string file = positional[0], cmd = positional[1];
    std::vector<std::string> args(positional.begin() + 2, positional.end());
    auto known = std::find_if(kCommands.begin(), kCommands.end(),
                              [&](const Command& c) { return c.name == cmd; });
    if (known == kCommands.end()) return usage("unknown command: " + cmd);
    if (args.size() != known->args)
        return usage(cmd + " takes " + std::to_string(known->args) + " argument" +
                     (known->args == 1 ? "" : "s"));

    if ((cmd == "get" || cmd == "set") && (!parseInt(args[0]) || *parseInt(args[0]) < 1))
        return usage("field number must be a positive integer: " + args[0]);

    if (cmd == "init-settings") {
        if (password) return usage("init-settings always uses the player's password");
        if (auto s = settings::SettingsStore::createFile(file); !s.ok()) return failed(s);
        return 0;
    }
    if (cmd == "create") {
        auto created =
            edb::RecordDatabase::create(file, password.value_or(settings::databasePassword()));
        if (!created.ok()) return failed(created.status());
        return 0;
    }
    auto opened = edb::RecordDatabase::open(file, password.value_or(settings::databasePassword()));
    if (!opened.ok()) {
        std::cerr << "qinglan-edb: " << opened.status().message() << "\n";
        return kCannotOpen;
    }
    return run(opened.value(), cmd, args);
}
