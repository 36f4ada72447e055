#include "players/Figures.h"

#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "rhythm/Rhythmer.h"
#include "ui/ControllerLink.h"

#include "OxaPlayerArtData.h"

namespace T730
{

namespace
{
    juce::StringArray numbered (const juce::String& pattern, int first, int last)
    {
        juce::StringArray names;
        for (int i = first; i <= last; ++i)
            names.add (pattern.replace ("%d", juce::String (i)));
        return names;
    }

    AppSetting* settingsOf (ControllerLink* controller)
    {
        AppSetting* settings = nullptr;
        if (controller != nullptr)
            controller->request (GetAppSetting, 0, 0, &settings);
        return settings;
    }

    /** Where a group's polygons carry no colour of their own. */
    const std::vector<juce::Colour> drummerColours {
        juce::Colour (0xffd9a27a), juce::Colour (0xffd9a27a),   // the arms: skin
        juce::Colour (0xffc9b25a), juce::Colour (0xffc9b25a),   // crash cymbal and hi-hat: brass
        juce::Colour (0xffb03030), juce::Colour (0xff404040),   // bass drum, chair
        juce::Colour (0xffc0c0c8), juce::Colour (0xff3060a0),   // snare, body
        juce::Colour (0xff303850), juce::Colour (0xff303850)    // the legs
    };
    const std::vector<juce::Colour> bassistColours { juce::Colour (0xff3060a0), juce::Colour (0xffd9a27a) };
} // namespace

std::unique_ptr<Scene> loadFigureScene (const juce::File& resourceFolder, const FigureModelSet& set,
                                        const std::vector<juce::Colour>& groupColours)
{
    auto scene = std::make_unique<Scene>();
    const auto folder = resourceFolder.getChildFile (set.folder);
    for (size_t g = 0; g < set.groups.size(); ++g)
    {
        ModelGroup group;
        const auto colour = g < groupColours.size() ? groupColours[g] : juce::Colours::white;
        for (const auto& name : set.groups[g])
        {
            auto model = Object3DGL::fromFile (folder.getChildFile (name));
            model->prepareColours (colour);
            group.poses.push_back (std::move (model));
        }
        scene->push_back (std::move (group));
    }
    return scene;
}

//==============================================================================
const FigureModelSet& Drummer::modelSet()
{
    static const FigureModelSet set = []
    {
        FigureModelSet s;
        s.folder = "Drummer.archived";
        juce::StringArray right;
        right.addArray (numbered ("drumo_move(hihat_close)_%d.ox", 0, 11));
        right.addArray (numbered ("drumo_move(hihat_open)_%d.ox", 0, 11));
        right.addArray (numbered ("drumo_move(cymbal)_%d.ox", 0, 11));
        right.addArray (numbered ("drumo_Count_Right_%d.ox", 0, 11));
        juce::StringArray left;
        left.addArray (numbered ("drumo_move(snear)_%d.ox", 0, 11));
        left.addArray (numbered ("drumo_Count_Left_%d.ox", 0, 11));
        s.groups = { right, left, numbered ("cymbal_move_%d.ox", 5, 14),
                     juce::StringArray ("hihat_close.ox", "hihat_open.ox"),
                     juce::StringArray ("bassdrum.ox"), juce::StringArray ("chair.ox"), juce::StringArray ("snear.ox"),
                     juce::StringArray ("drumo_body.ox"), juce::StringArray ("drumo_LeftLeg.ox"),
                     juce::StringArray ("drumo_RightLeg.ox") };
        return s;
    }();
    return set;
}

juce::Image Drummer::stillImage()
{
    return juce::ImageCache::getFromMemory (OxaPlayerArt::drummer_still_jpg, OxaPlayerArt::drummer_still_jpgSize);
}

Drummer::Drummer (Rhythmer* rhythmMachine, ControllerLink* controllerLink, const juce::File& resourceFolder)
    : PlayerProxy (rhythmMachine, controllerLink)
{
    setStillImage (stillImage());
    setCameraOffset (offsetX, offsetY, offsetZ);
    setCameraDistance (distance);
    setCameraHeight (height);
    if (auto* settings = settingsOf (controllerLink))
        setViewAngles ((float) settings->DrummerX, (float) settings->DrummerY);
    setModels (loadFigureScene (resourceFolder, modelSet(), drummerColours));
}

Drummer::~Drummer()
{
    const auto angles = getViewAngles();
    if (auto* settings = settingsOf (getController()))
    {
        settings->DrummerX = (int) angles.x;
        settings->DrummerY = (int) angles.y;
    }
    closeView();
}

void Drummer::playerFrame (juce::int64 frameNumber)
{
    if (rhythmer == nullptr)
        return;
    const auto events = rhythmer->getPublishedEvents();
    if (events != nullptr)
        motion.frame (frameNumber, rhythmer->getTransport(), *events, *this);
}

//==============================================================================
const FigureModelSet& Bassist::modelSet()
{
    static const FigureModelSet set = []
    {
        FigureModelSet s;
        s.folder = "Bassist.archived";
        s.groups = { numbered ("basso_move_%d.ox", 0, 44), numbered ("basso_lefthand%d.ox", 1, 5) };
        return s;
    }();
    return set;
}

juce::Image Bassist::stillImage()
{
    return juce::ImageCache::getFromMemory (OxaPlayerArt::bassist_still_jpg, OxaPlayerArt::bassist_still_jpgSize);
}

Bassist::Bassist (Rhythmer* rhythmMachine, ControllerLink* controllerLink, const juce::File& resourceFolder)
    : PlayerProxy (rhythmMachine, controllerLink)
{
    setStillImage (stillImage());
    setCameraOffset (offsetX, offsetY, offsetZ);
    if (auto* settings = settingsOf (controllerLink))
        setViewAngles ((float) settings->BassistX, (float) settings->BassistY);
    setModels (loadFigureScene (resourceFolder, modelSet(), bassistColours));
}

Bassist::~Bassist()
{
    const auto angles = getViewAngles();
    if (auto* settings = settingsOf (getController()))
    {
        settings->BassistX = (int) angles.x;
        settings->BassistY = (int) angles.y;
    }
    closeView();
}

void Bassist::playerFrame (juce::int64)
{
    if (rhythmer == nullptr)
        return;
    const auto events = rhythmer->getPublishedEvents();
    if (events != nullptr)
        motion.frame (rhythmer->getTransport(), *events, juce::Time::getMillisecondCounterHiRes(), *this);
}

} // namespace T730
