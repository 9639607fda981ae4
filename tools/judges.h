#pragma once
// The judgements the developer programs set against each other: a network of the shipped
// layout (trained weights read from a file, or in training), and the frozen previous bot's.

#include "contactnet.h"
#include "planner.h"
#include "previous/positionnet.h"
#include "race.h"
#include "racenet.h"
#include "weightsfile.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace bg::training {

// What the contact network's generated weights file defines.
inline constexpr WeightsNames kContactWeightsNames{"contactnet.h", "ContactNet", "kContactLayout",
                                                   "shippedContactNet", "The strong bot's network"};
// What the race network's generated weights file defines.
inline constexpr WeightsNames kRaceWeightsNames{"racenet.h", "RaceNet", "kRaceLayout",
                                                "shippedRaceNet", "The strong bot's network"};

// The network a tool is told to use: "shipped", "race" (the shipped race network, of the same
// layout), or weights a trainer wrote (a .bin file). A file of any other layout ends the
// program with status 1.
inline std::unique_ptr<ContactNet> netNamed(const std::string& name) {
    auto net =
        std::make_unique<ContactNet>(name == "race" ? shippedRaceNet() : shippedContactNet());
    if (name != "shipped" && name != "race" && !readWeights(name, *net)) {
        std::fprintf(stderr, "%s: not weights of this layout\n", name.c_str());
        std::exit(1);
    }
    return net;
}

// Contact by `net`, races by the race judgement.
class NetJudge : public PositionJudge {
  public:
    explicit NetJudge(const ContactNet& net) : m_net(net) {}
    double judge(const Sketch& s, int, bool acey) const override {
        return hasContact(s) ? contactValue(m_net, s) : raceValue(s, acey);
    }

  private:
    const ContactNet& m_net;
};

// As the frozen previous strong bot judged: its network for contact, its race formula else.
inline double previousValue(const Sketch& s) {
    previous::Sketch p;
    p.n = s.n;
    p.bar = s.bar;
    p.off = s.off;
    return hasContact(s) ? previous::netValue(previous::trainedNet(), p) : previous::raceChance(p);
}

class PreviousJudge : public PositionJudge {
  public:
    double judge(const Sketch& s, int, bool) const override { return previousValue(s); }
};

} // namespace bg::training
