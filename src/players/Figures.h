#pragma once

#include "players/FigureMotion.h"
#include "players/PlayerProxy.h"

namespace T730
{

/** The model files of a figure's groups, in drawing order: for each group the
    file names of its poses, inside the figure's model set in the resource folder. */
struct FigureModelSet
{
    juce::String folder;                        // "Drummer.archived" or "Bassist.archived"
    std::vector<juce::StringArray> groups;
};

/** Reads every pose of every group (a file that cannot be read is an empty model),
    each coloured with its group's colour where its polygons carry none. */
std::unique_ptr<Scene> loadFigureScene (const juce::File& resourceFolder, const FigureModelSet& set,
                                        const std::vector<juce::Colour>& groupColours);

/** The drummer of the rhythm panel: seated behind bass drum, snare, hi-hat and
    crash cymbal, its arms striking ahead of the drum notes the machine is about
    to play. The view angles are kept in the settings' DrummerX and DrummerY. */
class Drummer : public PlayerProxy
{
public:
    /** rhythmMachine may be null (a figure that never moves). */
    Drummer (Rhythmer* rhythmMachine, ControllerLink* controllerLink, const juce::File& resourceFolder);
    /** Writes the view angles back to the settings, ends the view, then frees the models. */
    ~Drummer() override;

    void playerFrame (juce::int64 frameNumber) override;

    static const FigureModelSet& modelSet();
    static juce::Image stillImage();
    static constexpr float offsetX = 0.1f, offsetY = 0.3f, offsetZ = 0.2f, distance = 0.95f, height = 0.1f;

    const DrummerMotion& getMotion() const noexcept { return motion; }

private:
    DrummerMotion motion;

    JUCE_DECLARE_NON_COPYABLE (Drummer)
};

/** The bassist of the rhythm panel: a standing player holding a bass, its body
    swaying with the song's tempo and its fretting hand following the bass notes.
    The view angles are kept in the settings' BassistX and BassistY. */
class Bassist : public PlayerProxy
{
public:
    Bassist (Rhythmer* rhythmMachine, ControllerLink* controllerLink, const juce::File& resourceFolder);
    ~Bassist() override;

    void playerFrame (juce::int64 frameNumber) override;

    static const FigureModelSet& modelSet();
    static juce::Image stillImage();
    static constexpr float offsetX = 0.0f, offsetY = 0.5f, offsetZ = 0.1f;

    const BassistMotion& getMotion() const noexcept { return motion; }

private:
    BassistMotion motion;

    JUCE_DECLARE_NON_COPYABLE (Bassist)
};

} // namespace T730
