#include "app/ProgressWindow.h"
#include "art/ProgramArt.h"
#include "ui/OxDialog.h"

namespace T730
{

ProgressWindow::Pictures ProgressWindow::getProgramPictures()
{
    return { art::getImage (art::Picture::progressBackground),
             art::getImage (art::Picture::progressBar),
             art::getImage (art::Picture::progressOverlay) };
}

ProgressWindow::ProgressWindow (ProgressWindowListener* l, Pictures p)
    : listener (l), pictures (std::move (p))
{
    setOpaque (true);
    setSize (juce::jmax (1, pictures.background.getWidth()), juce::jmax (1, pictures.background.getHeight()));
    startTimer (tickMs);
}

ProgressWindow::~ProgressWindow()
{
    stopTimer();
}

juce::Array<ProgressWindow::Span> ProgressWindow::layoutBar (int width, int filled, int phase)
{
    juce::Array<Span> spans;
    if (width <= 0)
        return spans;

    filled = juce::jlimit (0, width, filled);
    int remaining = filled;

    if (phase < filled)
    {
        spans.add ({ 0, phase, filled - phase });
        remaining = phase;
    }

    spans.add ({ width - phase, 0, remaining });
    spans.add ({ width - filled, 0, filled });
    return spans;
}

void ProgressWindow::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.drawImageAt (pictures.background, 0, 0);

    const auto& texture = pictures.texture;
    const int w = texture.getWidth(), h = texture.getHeight();
    if (w <= 0)
        return;

    const int phase = (int) ((juce::Time::getMillisecondCounter() / (juce::uint32) tickMs) % (juce::uint32) w);
    const int filled = (int) (progress * (float) w);
    const auto spans = layoutBar (w, filled, phase);

    for (int i = 0; i < spans.size(); ++i)
    {
        const auto& s = spans.getReference (i);
        if (s.width <= 0)
            continue;

        const bool overlay = i == spans.size() - 1;
        const auto& image = overlay ? pictures.overlay : texture;
        g.drawImage (image, barX + s.destOffset, barY, s.width, h, s.sourceX, 0, s.width, h);
    }
}

void ProgressWindow::timerCallback()
{
    if (listener != nullptr)
    {
        const bool done = listener->isDone();
        if (done)
            stopTimer();

        progress = listener->advance();
        repaint();

        if (! done)
            return;
    }

    stopTimer();
    if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
        dialog->exitModalState (0);
    else if (isCurrentlyModal())
        exitModalState (0);
}

void runProgress (ProgressWindowListener* listener, juce::Component* parent, bool atStartup)
{
    ProgressWindow window (listener);

    // At start-up: the program's own dialog window (the main window does not exist yet).
    if (atStartup)
    {
        MessageBoxes::runModalComponent (window, "Initializing OXA Tools...", false);
        return;
    }

    juce::DialogWindow::LaunchOptions options;
    options.content.setNonOwned (&window);
    options.dialogTitle = "Processing...";
    options.dialogBackgroundColour = juce::Colours::black;
    options.componentToCentreAround = parent;
    options.escapeKeyTriggersCloseButton = false;
    options.useNativeTitleBar = false; // the program's title bar, as on its other windows
    options.resizable = false;

#if JUCE_MODAL_LOOPS_PERMITTED
    options.runModal();
#else
    jassertfalse;
#endif

    if (listener != nullptr)
        listener->cancel();
}

} // namespace T730
