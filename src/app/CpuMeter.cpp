#include "app/CpuMeter.h"

#include "app/GuiMain.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"

namespace T730
{

namespace
{
    // The previous counters, shared by every sampler.
    juce::CriticalSection sharedLock;
    CPUResource::Times sharedPrevious; // guarded by sharedLock
} // namespace

bool CPUResource::parseProcStat (const juce::String& text, Times& times)
{
    for (const auto& line : juce::StringArray::fromLines (text))
    {
        auto fields = juce::StringArray::fromTokens (line, " \t", {});
        fields.removeEmptyStrings();
        if (fields.isEmpty() || fields[0] != "cpu" || fields.size() < 5)
            continue;

        juce::uint64 value[8] = {};
        for (int i = 0; i < 8 && i + 1 < fields.size(); ++i)
        {
            if (! fields[i + 1].containsOnly ("0123456789"))
                return false;
            value[i] = (juce::uint64) fields[i + 1].getLargeIntValue();
        }

        // user nice system idle iowait irq softirq steal
        times.idle = value[3] + value[4];
        times.kernel = value[2] + value[5] + value[6] + value[7] + times.idle;
        times.user = value[0] + value[1];
        return true;
    }

    return false;
}

bool CPUResource::readSystemTimes (Times& times)
{
    const juce::File stat ("/proc/stat");
    // /proc files report no size: read them as a stream.
    juce::FileInputStream in (stat);
    if (! in.openedOk())
        return false;

    return parseProcStat (in.readString(), times);
}

float CPUResource::loadBetween (const Times& previous, const Times& now)
{
    const auto delta = [] (juce::uint64 a, juce::uint64 b) { return (juce::int64) (a - b); };
    const auto total = delta (now.kernel, previous.kernel) + delta (now.user, previous.user);
    const auto busy = total - delta (now.idle, previous.idle);

    if (busy <= 0 || total == 0)
        return 0.0f;

    return juce::jlimit (0.0f, 1.0f, (float) ((double) busy / (double) total));
}

CPUResource::CPUResource (Reader r) : reader (std::move (r))
{
    const juce::ScopedLock sl (sharedLock);
    sharedPrevious = {};
    available = reader && reader (sharedPrevious);
}

void CPUResource::update()
{
    float load = 0.0f;

    if (available)
    {
        Times now;
        if (! reader (now))
            now = {};

        const juce::ScopedLock sl (sharedLock);
        load = loadBetween (sharedPrevious, now);
        sharedPrevious = now;
    }

    history[2] = history[1];
    history[1] = history[0];
    history[0] = load;
}

//==============================================================================
CpuMeter::CpuMeter (CPUResource::Reader reader)
    : sampler (std::move (reader)),
      background (art::getImage (art::Picture::cpuBackground)),
      bar (art::getImage (art::Picture::cpuBar))
{
    setOpaque (true);
    setSize (background.isValid() ? background.getWidth() : layout::cpuMeterWidth,
             background.isValid() ? background.getHeight() : layout::cpuMeterHeight);
}

int CpuMeter::litWidth (float load) noexcept
{
    return (int) (39.0f * juce::jlimit (0.0f, 1.0f, load));
}

void CpuMeter::timerCallback()
{
    sampler.update();
    load = sampler.getLoad();
    repaint();
}

void CpuMeter::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff141416));
    g.drawImageAt (background, 0, 0);

    const int w = juce::jmin (litWidth (load), bar.getWidth());
    if (w > 0)
        g.drawImage (bar, layout::cpuBarX, layout::cpuBarY, w, layout::cpuBarHeight, 0, 0, w, layout::cpuBarHeight);
}

//==============================================================================
CpuMeterWindow::CpuMeterWindow (GuiMain* mainComponent)
    : juce::DialogWindow ("CPU Meter", juce::Colours::black, true, false), gui (mainComponent)
{
    setUsingNativeTitleBar (false);
    setContentNonOwned (&meter, true);
    setResizable (false, false);
    setAlwaysOnTop (true);
    centreWithSize (getWidth(), getHeight());
    addToDesktop();
}

CpuMeterWindow::~CpuMeterWindow()
{
    meter.stopTimer();
    clearContentComponent();
}

void CpuMeterWindow::showMeter()
{
    meter.startTimer (1000);
    setVisible (true);
    toFront (true);
}

void CpuMeterWindow::closeButtonPressed()
{
    meter.stopTimer();
    setVisible (false);

    if (auto* main = gui.getComponent())
    {
        if (auto* window = main->getTopLevelComponent())
            window->toFront (true);
        main->grabKeyboardFocus();
    }
}

} // namespace T730
