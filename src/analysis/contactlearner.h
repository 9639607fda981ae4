#pragma once
// The contact network's learner (tdlearner.h): a position without contact is not learned,
// the race judgement gives its value and it is the last lesson of the game.

#include "contactnet.h"
#include "tdlearner.h"

namespace bg {

class ContactLearner : public TdLearner<ContactNet, ContactInputs> {
  public:
    using RaceJudge = std::function<double(const Sketch&)>;
    ContactLearner(ContactNet& net, double alpha, double lambda, RaceJudge race)
        : TdLearner(net, alpha, lambda, contactInputsOf,
                    [race = std::move(race)](const Sketch& s) -> std::optional<double> {
                        if (hasContact(s)) return std::nullopt;
                        return race(s);
                    }) {}
};

} // namespace bg
