#pragma once

#include "search/CharacterChart.h"
#include "search/PatchResults.h"
#include "search/RhythmResults.h"
#include "search/SearchLists.h"
#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;
class PatchManager;
class SongManager;

/** The search page of the tab section: a grid of every keyword of the
    searchable patches and songs, a free-text field, and two result lists
    (patches with their character charts, rhythms with a preview) that every
    pick and keystroke searches again. A patch result loads into the tool set's
    edit buffer and the device; a rhythm result loads into the jam's rhythm
    machine. The page works on copies made when its lists are filled and
    changes nothing stored. Message thread only. */
class SectionSearch : public OxSection, private juce::Button::Listener, private EditableTableListener
{
public:
    explicit SectionSearch (ControllerLink& controller);
    ~SectionSearch() override;

    /** Rebuilds the words and both lists from the stores, keeps the picked
        words, the free text and the highlights (by position), searches again
        and asks for the editor section's repaint. */
    void refresh();
    void updateLists() { refresh(); }
    void updateSection() override { refresh(); }

    void paint (juce::Graphics& g) override;

    enum ButtonId { rhythmLoadButton, patchLoadButton, clearButton, numButtons };
    juce::DrawableButton& getButton (ButtonId id) noexcept { return *buttons[id]; }

    SS_WordList& getWordList() noexcept { return wordList; }
    SS_PatchList& getPatchList() noexcept { return patchList; }
    SS_RhythmList& getRhythmList() noexcept { return rhythmList; }
    SS_EditerFreeword& getFreeTextField() noexcept { return freeText; }
    const CharacterChart& getChart() const noexcept { return chart; }

private:
    void buttonClicked (juce::Button* button) override;
    void rebuildWords();

    bool cellEdited (EditableTable&, ModalEditLabel&, const juce::String&) override { return false; }
    bool canSelect (EditableTable&, int, int) override { return false; }
    void selectionChanged (EditableTable&, int, int) override {}
    void cellMoved (EditableTable&, int, int, int, int) override {}

    ControllerLink& controller;
    PatchManager* patchManager = nullptr;   // not owned: the controller's stores
    SongManager* songManager = nullptr;
    juce::StringArray words;
    SS_WordList wordList;
    SS_RhythmList rhythmList;
    SS_PatchList patchList;
    juce::Image background, freeTextFrame;
    SS_EditerFreeword freeText;
    std::unique_ptr<juce::DrawableButton> buttons[numButtons];
    CharacterChart chart;

    JUCE_DECLARE_NON_COPYABLE (SectionSearch)
};

} // namespace T730
