// The click benchmark's probe. It clicks buttons through the XTest extension and times each
// click from the press to the first change of the button's pixels on the screen.
//
//   click_paint_probe RUNS LABEL X Y W H X Y W H [LABEL X Y W H X Y W H]...
//
// Each LABEL names a pair of buttons (screen rectangles) of one window; every run clicks the
// pair's buttons in turn, so that each click lands on a button that is up. The windows take
// turns within a run. After two warm-up runs, RUNS clicks a window are timed; prints one line
//     click <label> <ms>
// a click and, at the end,
//     median <label> <ms> <min ms> <max ms>
//
//   click_paint_probe --search RUNS X Y W H WORD WORD
//
// types the words in turn over the focused field and times Return to the first change of the
// rectangle (the search results), after one warm-up; prints "median search <ms> <min> <max>".
//
//   click_paint_probe --keys KEYS...
//
// types each of KEYS (X key names joined by '+', e.g. Alt_L+h, Return; @X,Y clicks there and
// gives that window the keyboard) with a pause after each, to bring up what the clicks are to
// measure; nothing is timed.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Target {
    std::string label;
    Box buttons[2];
    std::vector<double> ms;
};

using Clock = std::chrono::steady_clock;

// The button's pixels as the screen shows them now (no window manager, so the root holds all).
std::vector<char> grab(Display* display, const Box& box) {
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), box.x, box.y, static_cast<unsigned>(box.w),
                  static_cast<unsigned>(box.h), AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<char> pixels(image->data,
                             image->data + static_cast<size_t>(image->bytes_per_line) * box.h);
    XDestroyImage(image);
    return pixels;
}

// Waits until two grabs 100 ms apart agree (hover and other paints have settled).
std::vector<char> settledGrab(Display* display, const Box& box) {
    std::vector<char> before = grab(display, box);
    for (int i = 0; i < 30; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::vector<char> now = grab(display, box);
        if (now == before)
            return now;
        before = std::move(now);
    }
    return before;
}

// Milliseconds from `start` until `box` differs from `before`; negative when it has not
// within 10 s.
double msUntilChanged(Display* display, const Box& box, const std::vector<char>& before,
                      Clock::time_point start) {
    while (Clock::now() - start < std::chrono::seconds(10)) {
        if (grab(display, box) != before)
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return -1;
}

// One click in the middle of `box`; the time from the press to the first changed pixel, or a
// negative number when nothing changed within 10 s.
double clickToPaint(Display* display, const Box& box) {
    const int cx = box.x + box.w / 2;
    const int cy = box.y + box.h / 2;
    XTestFakeMotionEvent(display, -1, cx, cy, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<char> before = settledGrab(display, box);

    const Clock::time_point start = Clock::now();
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    return msUntilChanged(display, box, before, start);
}

// Presses the keys of `combination` ("Alt_L+h") in order and lets them go in reverse.
bool typeKeys(Display* display, const std::string& combination, int pauseMs = 500) {
    std::vector<KeyCode> codes;
    size_t from = 0;
    while (from <= combination.size()) {
        size_t to = combination.find('+', from);
        if (to == std::string::npos)
            to = combination.size();
        const KeySym sym = XStringToKeysym(combination.substr(from, to - from).c_str());
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
        if (code == 0)
            return false;
        codes.push_back(code);
        from = to + 1;
    }
    for (KeyCode code : codes)
        XTestFakeKeyEvent(display, code, True, CurrentTime);
    for (auto it = codes.rbegin(); it != codes.rend(); ++it)
        XTestFakeKeyEvent(display, *it, False, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    return true;
}

// Types `word` over whatever the focused field holds, then times Return to the first change of
// `box`; negative when nothing changed within 10 s.
double searchToPaint(Display* display, const Box& box, const std::string& word) {
    typeKeys(display, "Control_L+a");
    for (char c : word)
        typeKeys(display, std::string(1, c), 30);
    const std::vector<char> before = settledGrab(display, box);
    const KeyCode enter = XKeysymToKeycode(display, XK_Return);
    const Clock::time_point start = Clock::now();
    XTestFakeKeyEvent(display, enter, True, CurrentTime);
    XTestFakeKeyEvent(display, enter, False, CurrentTime);
    XFlush(display);
    return msUntilChanged(display, box, before, start);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 8 && std::strcmp(argv[1], "--search") == 0) {
        // --search RUNS X Y W H WORD WORD: the words in turn into the focused field.
        const int runs = std::atoi(argv[2]);
        const Box box{std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                      std::atoi(argv[6])};
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return 2;
        std::vector<double> times;
        for (int run = 0; run < runs + 1; ++run) {
            const double ms = searchToPaint(display, box, argv[7 + run % 2]);
            if (ms < 0) {
                std::fprintf(stderr, "the results did not change within 10 s\n");
                return 1;
            }
            if (run > 0) {
                times.push_back(ms);
                std::printf("search %.2f\n", ms);
            }
        }
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        std::printf("median search %.2f %.2f %.2f\n",
                    n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2, times.front(),
                    times.back());
        XCloseDisplay(display);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--keys") == 0) {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return 2;
        for (int i = 2; i < argc; ++i) {
            int x = 0, y = 0;
            if (std::sscanf(argv[i], "@%d,%d", &x, &y) == 2) {
                XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
                XTestFakeButtonEvent(display, 1, True, CurrentTime);
                XTestFakeButtonEvent(display, 1, False, CurrentTime);
                XSync(display, False);
                // With no window manager a click does not move the keyboard focus: the window
                // clicked gets it here, as a window manager would give it.
                Window root = 0, child = 0;
                int rx = 0, ry = 0, wx = 0, wy = 0;
                unsigned mask = 0;
                if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rx, &ry, &wx,
                                  &wy, &mask) &&
                    child != 0)
                    XSetInputFocus(display, child, RevertToParent, CurrentTime);
                XSync(display, False);
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
            } else if (!typeKeys(display, argv[i])) {
                std::fprintf(stderr, "no key for %s\n", argv[i]);
                return 2;
            }
        }
        XCloseDisplay(display);
        return 0;
    }
    if (argc < 11 || (argc - 2) % 9 != 0) {
        std::fprintf(stderr, "usage: %s RUNS LABEL X Y W H X Y W H [LABEL ...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Target> targets;
    for (int i = 2; i + 8 < argc; i += 9) {
        Target t;
        t.label = argv[i];
        for (int b = 0; b < 2; ++b)
            t.buttons[b] = {std::atoi(argv[i + 1 + 4 * b]), std::atoi(argv[i + 2 + 4 * b]),
                            std::atoi(argv[i + 3 + 4 * b]), std::atoi(argv[i + 4 + 4 * b])};
        targets.push_back(t);
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "the X server has no XTest extension\n");
        return 2;
    }
    int status = 0;
    for (int run = 0; run < runs + 2; ++run) {
        for (Target& t : targets) {
            const double ms = clickToPaint(display, t.buttons[run % 2]);
            if (ms < 0) {
                std::fprintf(stderr, "%s: the button did not change within 10 s\n",
                             t.label.c_str());
                status = 1;
                continue;
            }
            if (run < 2)
                continue;
            t.ms.push_back(ms);
            std::printf("click %s %.2f\n", t.label.c_str(), ms);
            std::fflush(stdout);
        }
    }
    for (Target& t : targets) {
        if (t.ms.empty())
            continue;
        std::sort(t.ms.begin(), t.ms.end());
        const size_t n = t.ms.size();
        const double median = n % 2 ? t.ms[n / 2] : (t.ms[n / 2 - 1] + t.ms[n / 2]) / 2;
        std::printf("median %s %.2f %.2f %.2f\n", t.label.c_str(), median, t.ms.front(),
                    t.ms.back());
    }
    XCloseDisplay(display);
    return status;
}
