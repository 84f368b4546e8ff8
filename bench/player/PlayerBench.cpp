// Time from process start to the first video frame on screen, and memory while playing: the
// real player (build/qinglan, started as a returning user starts it: a file argument and a
// settings store made by an earlier run) against the mpv command-line player on the same clip,
// alternating, in one run.
//
// The first frame is seen from outside, the same way for every player: one pixel of the root
// window inside the picture, away from the clip's moving square, is polled with XGetImage until
// it turns the clip's blue 0x1E5AC8. Where that pixel lies is found once per player from a
// warm-up run (the bounding box of the blue on screen two seconds into playback), so a change of
// window size or place never makes the bench watch the wrong spot. Time counts from just before
// execve of the player. Two seconds after the first frame VmRSS (/proc/PID/status) and Pss
// (/proc/PID/smaps_rollup) are read.
//
// Each player runs in a private data folder (XDG_DATA_HOME, XDG_RUNTIME_DIR) and, where the
// bench may, in its own network namespace, so a player another developer runs on the same
// machine can never take our start as a second instance and swallow it.
//
//   with-xvfb.sh bench_player [rounds=7]
// Environment: QINGLAN_BENCH_PLAYER  the player to measure (default: this build's qinglan)
//              QINGLAN_BENCH_FLOOR=1 also run bench_player_floor (Qt window + engine only)
//              QINGLAN_BENCH_KEEP=1  keep the temporary folder and print its path
// Goals: first-frame ratio <= 1.10, RSS <= mpv + 25 MiB.
#include "PlayerRuns.h"
#include "ScreenProbe.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace qinglan::bench;

long statusKiB(pid_t pid, const char* file, const char* key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0) return std::strtol(line.c_str() + n, nullptr, 10);
    return -1;
}

struct Player {
    std::string name;
    std::vector<std::string> argv;
    int probeX = -1, probeY = -1; // found by locate()
};

struct Sample {
    double mappedMs = -1;     // first top-level window mapped
    double firstFrameMs = -1; // probe pixel turned the clip's blue
    long rssKiB = -1, pssKiB = -1;
    bool exitedEarly = false;
    int exitStatus = 0; // wait status when it exited early
};

class Bench {
public:
    Bench(Display* d, fs::path dir) : d_(d), dir_(std::move(dir)) {
        root_ = DefaultRootWindow(d_);
        visual_ = DefaultVisual(d_, DefaultScreen(d_));
        width_ = DisplayWidth(d_, DefaultScreen(d_));
        height_ = DisplayHeight(d_, DefaultScreen(d_));
        XSelectInput(d_, root_, SubstructureNotifyMask);
    }

    // Starts argv with the bench's environment; returns the pid and the time just before execve.
    pid_t spawn(const std::vector<std::string>& argv, double& startMs) {
        int pipeFd[2];
        if (pipe2(pipeFd, O_CLOEXEC) != 0) return -1;
        pid_t pid = fork();
        if (pid == 0) {
            close(pipeFd[0]);
            // Failure only means the bench runs unprivileged; both players are treated alike.
            (void)unshare(CLONE_NEWNET);
            setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            // The last start's output is kept, to tell why a start failed.
            int out = open((dir_ / "player.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            double t = nowMs();
            (void)!write(pipeFd[1], &t, sizeof t);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(pipeFd[1]);
        startMs = nowMs();
        (void)!read(pipeFd[0], &startMs, sizeof startMs);
        close(pipeFd[0]);
        return pid;
    }

    static void stop(pid_t pid) { stopProcess(pid); }

    bool firstRun(const std::string& player) {
        return createReturningUser(
            [&](const std::string& p) {
                double start = 0;
                return spawn({p}, start);
            },
            player, dir_ / "data");
    }

    // Finds the picture on screen two seconds into a warm-up run and puts the probe a sixth of
    // the way down its middle, where the clip is plain blue.
    bool locate(Player& p) {
        clearScreen(d_);
        double start = 0;
        pid_t pid = spawn(p.argv, start);
        sleepMs(2500);
        XImage* img = XGetImage(d_, root_, 0, 0, width_, height_, AllPlanes, ZPixmap);
        stop(pid);
        if (!img) return false;
        int left = width_, right = -1, top = height_, bottom = -1;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (isClipBlue(rgbOf(XGetPixel(img, x, y), visual_))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        XDestroyImage(img);
        if (right < 0) return false;
        p.probeX = (left + right) / 2;
        p.probeY = top + (bottom - top) / 6;
        std::printf("%s: picture at %d,%d %dx%d, probe %d,%d\n", p.name.c_str(), left, top,
                    right - left + 1, bottom - top + 1, p.probeX, p.probeY);
        return true;
    }

    // The last lines the failed start printed.
    std::string lastOutput() const {
        std::ifstream in(dir_ / "player.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        std::string tail;
        for (std::size_t i = lines.size() > 3 ? lines.size() - 3 : 0; i < lines.size(); ++i)
            tail += "\n    " + lines[i];
        return tail;
    }

    Sample run(const Player& p) {
        clearScreen(d_);
        sleepMs(300);
        drainEvents();
        Sample s;
        double start = 0;
        pid_t pid = spawn(p.argv, start);
        // As fast as is fair: every poll is also work for the X server that draws the frame.
        while (nowMs() - start < 10000) {
            while (XPending(d_)) {
                XEvent e;
                XNextEvent(d_, &e);
                if (e.type == MapNotify && s.mappedMs < 0 && e.xmap.event == root_)
                    s.mappedMs = nowMs() - start;
            }
            XImage* img = XGetImage(d_, root_, p.probeX, p.probeY, 1, 1, AllPlanes, ZPixmap);
            const bool blue = img && isClipBlue(rgbOf(XGetPixel(img, 0, 0), visual_));
            if (img) XDestroyImage(img);
            if (blue) {
                s.firstFrameMs = nowMs() - start;
                break;
            }
            if (waitpid(pid, &s.exitStatus, WNOHANG) == pid) {
                s.exitedEarly = true;
                return s;
            }
            sleepMs(0.5);
        }
        sleepMs(2000); // playing steadily
        s.rssKiB = statusKiB(pid, "status", "VmRSS:");
        s.pssKiB = statusKiB(pid, "smaps_rollup", "Pss:");
        stop(pid);
        return s;
    }

private:
    void drainEvents() {
        XSync(d_, False);
        while (XPending(d_)) {
            XEvent e;
            XNextEvent(d_, &e);
        }
    }

    Display* d_;
    fs::path dir_;
    Window root_;
    const Visual* visual_;
    int width_, height_;
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "bench_player: no X display (run it under with-xvfb.sh)\n");
        return 2;
    }
    const char* env = std::getenv("QINGLAN_BENCH_PLAYER");
    const std::string player = env && *env ? env : QINGLAN_BENCH_PLAYER;
    // A settings file beside the program wins over the data folder: the run would not be a
    // returning user's start in our temporary folder.
    if (fs::exists(fs::path(player).parent_path() / "mote.edb")) {
        std::fprintf(stderr, "bench_player: a mote.edb lies beside %s; move it away\n",
                     player.c_str());
        return 2;
    }
    char tmpl[] = "/tmp/qinglan-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return 2;
    const fs::path dir = tmpl;
    const bool keep = [] {
        const char* k = std::getenv("QINGLAN_BENCH_KEEP");
        return k && *k == '1';
    }();
    struct Cleanup {
        fs::path dir;
        bool keep;
        ~Cleanup() {
            std::error_code ec;
            if (keep)
                std::printf("kept %s\n", dir.c_str());
            else
                fs::remove_all(dir, ec);
        }
    } cleanup{dir, keep};
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "run");
    fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
    // A copy with nothing beside it, so mpv finds no subtitle to load that ours would not.
    const std::string clip = (dir / "clip.mp4").string();
    fs::copy_file(QINGLAN_BENCH_MEDIA, clip);

    Bench bench(d, dir);
    if (!bench.firstRun(player)) {
        std::fprintf(stderr, "bench_player: the first run made no settings store\n");
        return 1;
    }
    std::vector<Player> players{
        {"ours", {player, clip}},
        {"mpv",
         {"mpv", "--no-config", "--vo=gpu,x11", "--ao=null", "--geometry=800x600+200+150", clip}}};
    if (const char* floor = std::getenv("QINGLAN_BENCH_FLOOR"); floor && *floor == '1')
        players.push_back({"floor", {QINGLAN_BENCH_FLOOR_PLAYER, "gpu,x11", clip}});
    for (auto& p : players)
        if (!bench.locate(p)) {
            std::fprintf(stderr, "bench_player: no picture of %s found on screen\n",
                         p.name.c_str());
            return 1;
        }

    std::vector<std::vector<Sample>> samples(players.size());
    int earlyExits = 0;
    for (int i = 0; i < rounds; ++i) {
        std::printf("round %d:", i + 1);
        for (std::size_t k = 0; k < players.size(); ++k) {
            // A start that dies before its first frame is reported and tried again; twice in a
            // row ends the run, as the figures would then hide a fault.
            Sample s = bench.run(players[k]);
            for (int retry = 0; s.exitedEarly && retry < 2; ++retry) {
                const int st = s.exitStatus;
                std::printf(" [%s exited before its first frame: %s %d]", players[k].name.c_str(),
                            WIFSIGNALED(st) ? "signal" : "status",
                            WIFSIGNALED(st) ? WTERMSIG(st) : WEXITSTATUS(st));
                std::printf("%s", bench.lastOutput().c_str());
                ++earlyExits;
                if (retry == 1) return 1;
                s = bench.run(players[k]);
            }
            std::printf("  %s %.1f ms (mapped %.1f) RSS %ld KiB PSS %ld KiB",
                        players[k].name.c_str(), s.firstFrameMs, s.mappedMs, s.rssKiB, s.pssKiB);
            samples[k].push_back(s);
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    struct Medians {
        double frame, mapped, rss, pss;
    };
    std::vector<Medians> m;
    for (const auto& list : samples) {
        std::vector<double> f, mp, r, ps;
        for (const auto& s : list) {
            f.push_back(s.firstFrameMs);
            mp.push_back(s.mappedMs);
            r.push_back(static_cast<double>(s.rssKiB) / 1024.0);
            ps.push_back(static_cast<double>(s.pssKiB) / 1024.0);
        }
        m.push_back({median(f), median(mp), median(r), median(ps)});
    }
    std::printf("\n%d rounds, medians; %d start(s) exited before the first frame\n", rounds,
                earlyExits);
    for (std::size_t k = 0; k < players.size(); ++k)
        std::printf("%-6s first frame %7.1f ms  window mapped %7.1f ms  RSS %6.1f MiB  PSS %6.1f "
                    "MiB\n",
                    players[k].name.c_str(), m[k].frame, m[k].mapped, m[k].rss, m[k].pss);
    std::printf("first-frame ratio ours/mpv %.3f (goal <= 1.10)\n", m[0].frame / m[1].frame);
    std::printf("RSS ours - mpv %+.1f MiB (goal <= +25), ratio %.3f; PSS %+.1f MiB\n",
                m[0].rss - m[1].rss, m[0].rss / m[1].rss, m[0].pss - m[1].pss);

    XCloseDisplay(d);
    return 0;
}
