#include "app/OxException.h"
#include "ui/OxDialog.h"

namespace T730
{

namespace
{
    juce::CriticalSection presenterLock;
    OxException::Presenter currentPresenter; // guarded by presenterLock
} // namespace

OxException::OxException (const juce::String& text) : message (text)
{
    juce::Logger::writeToLog (message);
}

void OxException::show() const
{
    Presenter presenter;
    {
        const juce::ScopedLock sl (presenterLock);
        presenter = currentPresenter;
    }

    if (presenter)
    {
        presenter ("OXA Tools", message);
        return;
    }

    MessageBoxes::showError (message);
}

OxException::Presenter OxException::setPresenter (Presenter presenter)
{
    const juce::ScopedLock sl (presenterLock);
    std::swap (presenter, currentPresenter);
    return presenter;
}

} // namespace T730
