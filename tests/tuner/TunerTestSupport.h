#pragma once

#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "engine/TunerLib.h"
#include "tuner/SectionTuner.h"
#include "ui/ControllerLink.h"

#include <cmath>
#include <vector>

namespace tunertest
{

/** The controller as the tuner page sees it: the tuner reference, and the
    requests it was sent, in order. */
struct FakeLink : public T730::ControllerLink
{
    int request (int code, int, int, void* data) override
    {
        codes.push_back (code);
        if (code == T730::GetTunerLib)
        {
            if (! haveTuner || data == nullptr)
                return T730::requestFalse;
            *static_cast<TunerLib**> (data) = &tuner;
        }
        return T730::requestTrue;
    }

    T730::Project& getCurrentProject() override { return project; }

    int count (int code) const
    {
        int n = 0;
        for (auto c : codes)
            n += c == code ? 1 : 0;
        return n;
    }

    TunerLib tuner { 440 };
    bool haveTuner = true;
    T730::Project project;
    std::vector<int> codes;
};

/** The frequency `cents` cents away from A4 at the reference. */
inline float frequencyOf (double cents, int reference = 440)
{
    return (float) (reference * std::pow (2.0, cents / 1200.0));
}

// Semitones from A4 of a few notes.
constexpr int E2 = -29, A2 = -24, D3 = -19, G3 = -14, B3 = -10, E4 = -5, D2 = -31;

} // namespace tunertest
