// Time from process start to the first video frame on screen, and resident memory while
// playing: our engine (bench_engine_player) against the mpv command-line player, same file,
// same video output, same window size and place, alternating, in one run.
//
// The first frame is seen from outside: the root window's pixel at (600, 40) turns the test
// clip's blue 0x1E5AC8 (away from the moving square), polled every 0.5 ms. Both players are
// measured the same way, so the ratio is fair even though the absolute figures include the
// poll's own granularity.
//
//   with-xvfb.sh bench_engine [rounds=7] [video output=x11]
// Goals: ratio <= 1.10, RSS <= mpv + 25 MiB.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

bool isClipBlue(unsigned long pixel, const Visual* v) {
    auto channel = [&](unsigned long mask) {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<int>((pixel >> shift) & mask);
    };
    int r = channel(v->red_mask), g = channel(v->green_mask), b = channel(v->blue_mask);
    return std::abs(r - 0x1E) < 30 && std::abs(g - 0x5A) < 30 && std::abs(b - 0xC8) < 30;
}

long rssKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

struct Sample {
    double firstFrameMs = -1;
    long rssKiB = -1;
};

// Blanks the area so the previous run's picture cannot count.
void clearScreen(Display* d) {
    Window root = DefaultRootWindow(d);
    GC gc = XCreateGC(d, root, 0, nullptr);
    XSetForeground(d, gc, BlackPixel(d, DefaultScreen(d)));
    XSetSubwindowMode(d, gc, IncludeInferiors);
    XFillRectangle(d, root, gc, 0, 0, 800, 600);
    XFreeGC(d, gc);
    XSync(d, False);
}

Sample run(Display* d, const std::vector<std::string>& argv) {
    clearScreen(d);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Window root = DefaultRootWindow(d);
    const Visual* visual = DefaultVisual(d, DefaultScreen(d));
    auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        int devnull = open("/dev/null", 1);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    Sample s;
    while (Clock::now() - start < std::chrono::seconds(10)) {
        XImage* img = XGetImage(d, root, 600, 40, 1, 1, AllPlanes, ZPixmap);
        bool blue = img && isClipBlue(XGetPixel(img, 0, 0), visual);
        if (img) XDestroyImage(img);
        if (blue) {
            s.firstFrameMs =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::this_thread::sleep_for(std::chrono::seconds(2)); // playing steadily
    s.rssKiB = rssKiB(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::string vo = argc > 2 ? argv[2] : "x11";
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "bench_engine: no X display (run it under with-xvfb.sh)\n");
        return 2;
    }
    std::string media = QINGLAN_BENCH_MEDIA;
    std::vector<std::string> ours{QINGLAN_BENCH_PLAYER, vo, media};
    std::vector<std::string> theirs{"mpv",
                                    "--no-config",
                                    "--vo=" + vo,
                                    "--ao=null",
                                    "--geometry=640x360+0+0",
                                    "--no-border",
                                    "--osc=no",
                                    "--idle=no",
                                    "--really-quiet",
                                    "--ytdl=no",
                                    "--load-scripts=no",
                                    media};
    // One warm-up each, so both start from a warm file cache.
    run(d, ours);
    run(d, theirs);
    std::vector<double> oursMs, theirsMs, oursRss, theirsRss;
    for (int i = 0; i < rounds; ++i) {
        Sample a = run(d, ours), b = run(d, theirs);
        std::printf("round %d: ours %.1f ms %ld KiB, mpv %.1f ms %ld KiB\n", i + 1, a.firstFrameMs,
                    a.rssKiB, b.firstFrameMs, b.rssKiB);
        oursMs.push_back(a.firstFrameMs);
        theirsMs.push_back(b.firstFrameMs);
        oursRss.push_back(static_cast<double>(a.rssKiB));
        theirsRss.push_back(static_cast<double>(b.rssKiB));
    }
    double mo = median(oursMs), mt = median(theirsMs);
    double ro = median(oursRss) / 1024.0, rt = median(theirsRss) / 1024.0;
    std::printf("\nvideo output %s, %d rounds, medians\n", vo.c_str(), rounds);
    std::printf("first frame: ours %.1f ms, mpv %.1f ms, ratio %.3f (goal <= 1.10)\n", mo, mt,
                mt > 0 ? mo / mt : -1.0);
    std::printf("RSS playing: ours %.1f MiB, mpv %.1f MiB, difference %+.1f MiB (goal <= +25)\n",
                ro, rt, ro - rt);
    XCloseDisplay(d);
    return 0;
}
