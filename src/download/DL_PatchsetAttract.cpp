#include "download/DL_PatchsetAttract.h"

#include "app/ControllerRequest.h"
#include "art/ProgramArt.h"
#include "documents/PatchSet.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"

namespace T730
{

namespace
{
    std::unique_ptr<juce::Drawable> picture (art::Picture p)
    {
        auto image = std::make_unique<juce::DrawableImage>();
        image->setImage (art::getImage (p));
        return image;
    }

    constexpr int rows = 5, columns = 20;
} // namespace

DL_PatchsetAttract::DL_PatchsetAttract (ControllerLink& c, const juce::File& file, const juce::String& t)
    : controller (c), title (t)
{
    background = art::getImage (art::Picture::downloadAttractBackground);
    setSize (300, 313);

    if (auto root = parseXmlFile (file))
    {
        auto candidate = std::make_unique<PatchSet>();
        if (candidate->read (root.get()))
            set = std::move (candidate);
    }

    {
        auto& buffer = controller.getCurrentProject().editBuffer;
        const juce::ScopedLock sl (buffer.lock);
        kept = buffer;
    }

    table.setEditable (false);
    table.setDraggable (false);
    table.setNumbered (false);
    table.setListener (this);
    table.setColours ({ 255, 155, 0 }, { 255, 155, 0 }, juce::Colours::black, { 255, 155, 0 }, juce::Colours::black);
    table.setBounds (tablePlace());
    table.setRowCount (rows);
    table.setColumnCount (columns);
    table.setRowHeight (16);
    table.setColumnWidth (121);
    table.setScrollBarsShown (false, true);
    table.rebuild();
    const int count = set != nullptr ? set->count : 0;
    for (int i = 0; i < rows * columns; ++i)
    {
        const auto prefix = juce::String::charToString ((juce::juce_wchar) ('A' + i / 10)) + juce::String (i % 10) + ": ";
        table.setCellText (i % rows, i / rows, i < count ? prefix + set->patches[(size_t) i].getName() : juce::String());
    }
    table.select (0, 0);
    addAndMakeVisible (table);

    cancelButton = std::make_unique<juce::DrawableButton> ("DOWNLOAD_ATTRACT_CANCEL", juce::DrawableButton::ImageRaw);
    auto normal = picture (art::Picture::downloadAttractCancel);
    auto over = picture (art::Picture::downloadAttractCancelOver);
    cancelButton->setImages (normal.get(), over.get(), over.get());
    cancelButton->setWantsKeyboardFocus (false);
    cancelButton->setBounds (cancelPlace());
    cancelButton->addListener (this);
    addAndMakeVisible (*cancelButton);
}

DL_PatchsetAttract::~DL_PatchsetAttract()
{
    if (! restored && set != nullptr)
    {
        restored = true;
        auto copy = kept;
        controller.request (SetEditBuffer, 0, 0, &copy);
        controller.request (SendEditBuffer, 0, 0, &copy);
    }
}

void DL_PatchsetAttract::restoreAndClose()
{
    if (! restored)
    {
        restored = true;
        auto copy = kept;
        controller.request (SetEditBuffer, 0, 0, &copy);
        controller.request (SendEditBuffer, 0, 0, &copy);
    }
    if (onClose)
        juce::MessageManager::callAsync ([safe = juce::Component::SafePointer<DL_PatchsetAttract> (this)]
                                         {
                                             if (safe != nullptr && safe->onClose)
                                                 safe->onClose();
                                         });
}

bool DL_PatchsetAttract::canSelect (EditableTable&, int column, int row)
{
    return set != nullptr && column * rows + row < set->count;
}

void DL_PatchsetAttract::selectPatch (int index)
{
    if (set == nullptr || ! juce::isPositiveAndBelow (index, set->count))
        return;
    table.select (index % rows, index / rows);
    selectionChanged (table, index / rows, index % rows);
}

void DL_PatchsetAttract::selectionChanged (EditableTable&, int column, int row)
{
    const int index = column * rows + row;
    if (set == nullptr || ! juce::isPositiveAndBelow (index, set->count))
        return;
    auto copy = set->patches[(size_t) index].edit;
    controller.request (SetEditBuffer, 0, 0, &copy);
    controller.request (SendEditBuffer, 0, 0, &copy);
}

void DL_PatchsetAttract::buttonClicked (juce::Button*)
{
    restoreAndClose();
}

void DL_PatchsetAttract::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
    else
        g.fillAll (juce::Colours::black);

    g.setColour ({ 255, 155, 0 });
    g.setFont (arialFont (12.0f, juce::Font::bold));
    g.drawFittedText (title, 30, 6, 242, 16, juce::Justification::centredLeft, 1);
    g.setFont (arialFont (10.0f));
    g.setColour (juce::Colour (255, 155, 0).withAlpha (0.7f));
    g.drawFittedText ("Pick a patch to hear it on the M7c. CANCEL puts your own patch back.", 30, 180, 242, 30,
                      juce::Justification::topLeft, 2);
}

} // namespace T730
