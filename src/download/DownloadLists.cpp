#include "download/DownloadLists.h"

#include "art/ProgramArt.h"
#include "ui/OxFonts.h"
#include "ui/ToolTipEx.h"

namespace T730
{

DL_VScrollingUIItem::DL_VScrollingUIItem (int row, int column, const Pictures& p)
    : ModalEditLabel (juce::String (row) + "_" + juce::String (column), row, column), pictures (p)
{
}

void DL_VScrollingUIItem::setAuditioned (bool shouldShowStop)
{
    if (auditioned != shouldShowStop)
    {
        auditioned = shouldShowStop;
        repaint();
    }
}

juce::String DL_VScrollingUIItem::describe() const
{
    return entry != nullptr ? entry->comment : juce::String();
}

void DL_VScrollingUIItem::paint (juce::Graphics& g)
{
    if (entry == nullptr)
        return;

    const juce::Colour orange (255, 155, 0);

    // The entry being auditioned glows; a hairline between entries.
    if (auditioned)
    {
        g.setColour (orange.withAlpha (0.12f));
        g.fillRoundedRectangle (getLocalBounds().reduced (2, 1).toFloat(), 4.0f);
    }
    g.setColour (orange.withAlpha (0.12f));
    g.drawHorizontalLine (getHeight() - 1, 4.0f, (float) getWidth() - 4.0f);

    const auto nameFont = arialFont (12.0f, juce::Font::bold);
    g.setColour (orange);
    g.setFont (nameFont);
    g.drawSingleLineText (shortenedToWidth (entry->name, nameFont, 124), 6, 14);

    const auto smallFont = arialFont (9.5f);
    g.setColour (orange.withAlpha (0.6f));
    g.setFont (smallFont);
    g.drawSingleLineText (shortenedToWidth (describe(), smallFont, 124), 6, 26);

    const auto& audition = auditioned ? pictures.stop : pictures.play;
    if (audition.isValid())
        g.drawImageAt (audition, auditionSpot().getX(), auditionSpot().getY());

    const auto& mark = entry->downloaded ? pictures.done : pictures.get;
    if (mark.isValid())
        g.drawImageAt (mark, downloadSpot().getX(), downloadSpot().getY());

    if (entry->isNew && pictures.newMark.isValid())
        g.drawImageAt (pictures.newMark, newMarkSpot().getX(), newMarkSpot().getY());
}

//==============================================================================
DL_VScrollingUI::DL_VScrollingUI (int k) : kind (k)
{
    using art::Picture;
    pictures.get = art::getImage (Picture::downloadItemGet);
    pictures.done = art::getImage (Picture::downloadItemDone);
    pictures.newMark = art::getImage (Picture::downloadItemNew);
    pictures.play = art::getImage (Picture::downloadPlay);
    pictures.stop = art::getImage (Picture::downloadStop);

    setEditable (false);
    setDraggable (false);
    setNumbered (false);
    setListener (this);
    setColours (juce::Colours::transparentBlack, { 255, 155, 0 }, juce::Colours::black, { 255, 155, 0 },
                juce::Colours::transparentBlack);
    setBounds (placeOnPage());
    setColumnCount (1);
    setRowHeight (DL_VScrollingUIItem::height);
    fill ({});
}

DL_VScrollingUI::~DL_VScrollingUI() = default;

std::unique_ptr<ModalEditLabel> DL_VScrollingUI::createCell (int row, int column)
{
    if (kind == DL_ItemInfo::rhythmKind)
        return std::make_unique<DL_RhythmListItem> (row, column, pictures);
    return std::make_unique<DL_PatchsetListItem> (row, column, pictures);
}

void DL_VScrollingUI::fill (std::vector<DL_ItemInfo> newEntries)
{
    entries = std::move (newEntries);
    auditionedRow = -1;

    const int rows = (int) entries.size();
    const bool bar = rows * DL_VScrollingUIItem::height > getHeight();
    setScrollBarsShown (bar, false);
    setColumnWidth (getWidth() - (bar ? scrollBarThickness : 0));
    setRowCount (rows);
    rebuild();
    for (int r = 0; r < rows; ++r)
        if (auto* item = getItem (r))
            item->setEntry (&entries[(size_t) r]);
    if (rows > 0)
        select (0, 0);
    repaint();
}

DL_ItemInfo* DL_VScrollingUI::getEntry (int row) noexcept
{
    return juce::isPositiveAndBelow (row, (int) entries.size()) ? &entries[(size_t) row] : nullptr;
}

bool DL_VScrollingUI::hasMissingEntries() const
{
    for (auto& e : entries)
        if (! e.downloaded)
            return true;
    return false;
}

DL_VScrollingUIItem* DL_VScrollingUI::getItem (int row) const
{
    return dynamic_cast<DL_VScrollingUIItem*> (getCell (row, 0));
}

void DL_VScrollingUI::setAuditionedRow (int row)
{
    auditionedRow = row;
    for (int r = 0; r < getNumEntries(); ++r)
        if (auto* item = getItem (r))
            item->setAuditioned (r == row);
}

juce::Point<int> DL_VScrollingUI::spotCentre (int row, juce::Rectangle<int> spot) const
{
    return getCellBounds (row, 0).getPosition() + spot.getCentre();
}

void DL_VScrollingUI::pressAt (juce::Point<int> position)
{
    const auto cell = cellAt (position);
    auto* entry = getEntry (cell.y);
    if (cell.x != 0 || entry == nullptr || downloadListener == nullptr)
        return;

    select (cell.y, 0);
    const auto inEntry = position - getCellBounds (cell.y, 0).getPosition();

    if (DL_VScrollingUIItem::downloadSpot().contains (inEntry))
    {
        if (! entry->downloaded)
            downloadListener->download (*entry);
        repaint();
    }
    else if (DL_VScrollingUIItem::auditionSpot().contains (inEntry))
    {
        juce::String path;
        downloadListener->audition (*entry, entry->downloaded, path);
    }
}

void DL_VScrollingUI::mouseDown (const juce::MouseEvent& event)
{
    pressAt (event.getPosition());
}

void DL_VScrollingUI::mouseMove (const juce::MouseEvent& event)
{
    auto* tip = ToolTipEx::getInstance();
    const auto* entry = getEntry (cellAt (event.getPosition()).y);
    if (entry == nullptr || entry->comment.isEmpty())
    {
        tip->hideTip();
        return;
    }
    tip->setText (entry->comment);
    const auto screen = event.getScreenPosition();
    tip->placeAt (screen.x, screen.y);
    tip->showTip();
}

void DL_VScrollingUI::mouseExit (const juce::MouseEvent&)
{
    ToolTipEx::getInstance()->hideTip();
}

} // namespace T730
