#pragma once

#include "editor/ModuleNameLoader.h"

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <vector>

namespace T730
{

class EditBuf;
class ModuleNameLoader;

/** The five character values of a patch, each 0..1. */
struct CharacterScores
{
    float drive = 0.0f, scoop = 0.0f, air = 0.0f, efx = 0.0f, comp = 0.0f;

    /** Euclidean distance between two patches' characters. */
    float distanceTo (const CharacterScores& other) const noexcept;
};

/** How the builder of the value lists reads the description of one module
    type: the layout element of control n (null when there is none) and the
    texts of a control's "PrmTable". */
struct TypeLayoutReader
{
    std::function<const juce::XmlElement* (int ctrlIndex)> ctrl;
    std::function<juce::StringArray (const juce::XmlElement& ctrl)> prmTable;
};

/** The value lists of one type of a catalogue category (1..8): for every step
    of the parameters the chart reads, the value the user sees. Categories 4
    and 8 (and any other) give an empty table. */
SE_ModulePrmsTable buildValueTable (int category, const juce::String& key, const TypeLayoutReader& layout);

/** The value tables of categories 1..8 of the catalogue, made once per
    process from the module descriptions (one temporary module node per type,
    deleted at once) and stored with the catalogue. Returns false when they
    were there already. Message thread. */
bool buildCatalogueValueTables (ModuleNameLoader& catalogue);

/** The patch character chart: the coefficient tables, the five scores of a
    patch from its edit buffer and the value tables, and the drawing of the
    chart over its background picture.

    Every table lookup is checked: a type number or step outside its table (a
    damaged or foreign patch) makes its term 0, and a score that comes out
    below 0 or above 1 (or not a number) is 0. */
class CharacterChart
{
public:
    /** Value tables by category: tables[k - 1][t] is the table of type t of category k. */
    using Tables = std::vector<std::vector<SE_ModulePrmsTable>>;

    CharacterChart() = default;
    explicit CharacterChart (Tables tables);

    /** A chart on the value tables the catalogue holds now. */
    static CharacterChart fromCatalogue (const ModuleNameLoader& catalogue);

    /** The five scores of a patch (the caller holds the buffer's lock when another thread may write it). */
    CharacterScores scoresOf (const EditBuf& patch) const;

    /** L(category, type, list)[step]; false (and value 0) when outside the tables. */
    bool lookUp (int category, int type, int list, int step, float& value) const noexcept;

    /** The length of L(category, type, list); 0 when there is no such list. */
    int listLength (int category, int type, int list) const noexcept;

    const Tables& getTables() const noexcept { return tables; }

    /** Draws the chart in a patch cell's coordinates: the background (44 x 46)
        at (50, 1) and the filled pentagon of the scores. */
    static void draw (juce::Graphics& g, const CharacterScores& scores, const juce::Image& background);

    /** The corners of the pentagon in cell coordinates (DRIVE, SCOOP, AIR, EFX, COMP). */
    static juce::Path pentagon (const CharacterScores& scores);

    static constexpr int chartX = 50, chartY = 1, chartWidth = 44, chartHeight = 46;

private:
    const SE_ModulePrms* list (int category, int type, int index) const noexcept;

    Tables tables;
};

/** The positions of the `count` patches whose characters lie nearest to
    `of`, nearest first (equal distances in list order). */
std::vector<int> nearestCharacters (const std::vector<CharacterScores>& all, const CharacterScores& of, int count = 10);

} // namespace T730
