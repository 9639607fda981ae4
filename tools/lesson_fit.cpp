// Fits the contact network to lessons (lessons.h, written by lesson_make): each lesson's
// position is moved towards the value the look-ahead gave it, in shuffled order, for a number
// of passes with the step size falling from the first value to the last. One block of lessons
// in twenty is held out; the mean squared error on it is printed after each pass beside the
// starting network's, so a fit that only learns its own lessons shows. The weights are written
// as the trainer writes them (the source file, a copy per pass, and the raw .bin).
//
// With `--race` the lessons are race lessons (lesson_make --race) and the weights are written
// as the race network's; `--start race` starts from the race network the program ships.
//
// Options: `lesson_fit --help`. The same arguments give the same weights.

#include "judges.h"
#include "lessons.h"
#include "options.h"
#include "weightsfile.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace bg;
using namespace bg::training;

namespace {

constexpr const char* kUsage = "usage: lesson_fit --in FILE.lessons[,FILE...] --out FILE.cpp "
                               "[--start shipped|race|FILE.cpp.bin]\n"
                               "       [--passes N] [--alpha A0,A1] [--seed S] [--race]\n";
constexpr size_t kHeldBlock = 1000; // lessons of a few games, kept together
constexpr size_t kHeldEvery = 20;

struct Options {
    std::vector<std::string> in;
    std::string out;
    std::string start = "shipped";
    int passes = 4;
    // Far larger than the self-play trainer's: these targets carry no noise of dice to come.
    // Steps of 10 fitted best; 30 diverged.
    double alpha0 = 10, alpha1 = 0.1;
    unsigned seed = 1;
    bool race = false;
};

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {"--race"}, [&o](std::string_view key, const char* v) {
        if (key == "--race") {
            o.race = true;
        } else if (key == "--in") {
            std::stringstream files(v);
            for (std::string f; std::getline(files, f, ',');)
                if (!f.empty()) o.in.push_back(f);
        } else if (key == "--out")
            o.out = v;
        else if (key == "--start")
            o.start = v;
        else if (key == "--passes")
            o.passes = std::max(1, std::atoi(v));
        else if (key == "--alpha")
            std::sscanf(v, "%lf,%lf", &o.alpha0, &o.alpha1);
        else if (key == "--seed")
            o.seed = unsigned(std::strtoul(v, nullptr, 10));
        else
            return false;
        return true;
    });
    if (o.in.empty() || o.out.empty()) {
        std::fputs(kUsage, stderr);
        std::exit(2);
    }
    return o;
}

double heldError(const ContactNet& net, const std::vector<Lesson>& held) {
    double sum = 0;
    for (const Lesson& l : held) {
        const double e = contactValue(net, l.position) - l.target;
        sum += e * e;
    }
    return held.empty() ? 0 : sum / double(held.size());
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    std::vector<Lesson> all;
    for (const std::string& f : o.in)
        if (!readLessons(f, all)) {
            std::perror(f.c_str());
            return 1;
        }
    std::vector<Lesson> taught, held;
    for (size_t i = 0; i < all.size(); ++i)
        ((i / kHeldBlock) % kHeldEvery == kHeldEvery - 1 ? held : taught).push_back(all[i]);
    all = {};
    const auto net = netNamed(o.start);
    const auto started = std::chrono::steady_clock::now();
    std::printf("%zu lessons, %zu held out; held-out error of the start %.6f\n", taught.size(),
                held.size(), heldError(*net, held));
    std::mt19937 random(o.seed);
    const double total = double(o.passes) * double(taught.size());
    double done = 0;
    for (int pass = 1; pass <= o.passes; ++pass) {
        std::shuffle(taught.begin(), taught.end(), random);
        double sum = 0;
        for (const Lesson& l : taught) {
            const double alpha = o.alpha0 * std::pow(o.alpha1 / o.alpha0, done++ / total);
            const ContactInputs in = contactInputsOf(l.position);
            const ContactOutput out = runContactNet(*net, in);
            const double error = l.target - out.value;
            sum += error * error;
            stepSparseNet(*net, in, out, float(alpha * error));
        }
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("pass %d, %.0f s: taught error %.6f, held-out %.6f\n", pass, s,
                    sum / double(taught.size()), heldError(*net, held));
        std::fflush(stdout);
        char origin[160];
        std::snprintf(origin, sizeof origin,
                      "tools/lesson_fit (%zu lessons %s, %d passes, seed %u)", taught.size(),
                      o.race ? "of races played out" : "of the look-ahead", pass, o.seed);
        writeWeights(*net, o.out, o.race ? kRaceWeightsNames : kContactWeightsNames, origin, pass);
    }
    return 0;
}
