#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <memory>
#include <vector>

/** The values shown for each step of one parameter (filled by the search page). */
using SE_ModulePrms = std::vector<float>;

/** The value lists of one module type. */
using SE_ModulePrmsTable = std::vector<SE_ModulePrms>;

/** One category of the module catalogue "Module.xml". */
struct SE_ModuleInfosNode
{
    int category = -1;             // 1..9; -1 in an empty record
    juce::StringArray keys;        // type keys in file order (archive and module names)
    juce::StringArray names;       // display names, same order
    std::vector<uint8_t> modeling; // categories 2 and 8 only, same order; empty otherwise
    std::vector<SE_ModulePrmsTable> valueTables; // per type; empty after reading

    int size() const noexcept { return keys.size(); }
    bool isModeling (int index) const noexcept
    {
        return index >= 0 && index < (int) modeling.size() && modeling[(size_t) index] != 0;
    }
};

namespace T730
{

/** Reads a catalogue document: the child "COMPEFX" of the document element is
    category 1 and each following sibling element, whatever its name, is the
    next one, up to 9 categories. A missing or broken file, or one without
    "COMPEFX", gives no categories. */
std::vector<SE_ModuleInfosNode> readModuleCatalogue (const juce::File& moduleXml);

/** The same from an already parsed document element. */
std::vector<SE_ModuleInfosNode> readModuleCatalogue (const juce::XmlElement* documentElement);

/** The module catalogue of the whole process, read from the resource folder's
    "Module.xml" when the instance is first asked for.

    It is read once on the thread that creates it and is read-only afterwards,
    except for the value tables, which the search page fills once on the
    message thread before anything reads them. */
class ModuleNameLoader
{
public:
    static constexpr int maxCategories = 9;

    /** The single instance, created (and the catalogue read) on first use
        under a process-wide lock. */
    static ModuleNameLoader* getInstance();

    /** Drops the instance (shut-down, or tests that switch resource folders). */
    static void deleteInstance();

    /** Reads the catalogue from a "Module.xml" file. */
    explicit ModuleNameLoader (const juce::File& moduleXml);

    int getNumCategories() const noexcept { return (int) categories.size(); }

    /** A copy of the category at a zero-based index; past the end an empty
        record (category -1, no types). */
    SE_ModuleInfosNode getCategory (int index) const;

    /** Stores the value tables of the category at a zero-based index. */
    void setValueTables (int index, std::vector<SE_ModulePrmsTable> tables);

private:
    std::vector<SE_ModuleInfosNode> categories;

    JUCE_DECLARE_NON_COPYABLE (ModuleNameLoader)
};

} // namespace T730
