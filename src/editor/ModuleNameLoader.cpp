#include "editor/ModuleNameLoader.h"

#include "platform/SharedInstance.h"

#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "platform/DataFolders.h"

namespace T730
{
namespace
{

    bool categoryHasModelingFlags (int category) noexcept
    {
        return category == 2 || category == 8;
    }
} // namespace

std::vector<SE_ModuleInfosNode> readModuleCatalogue (const juce::XmlElement* documentElement)
{
    std::vector<SE_ModuleInfosNode> result;

    if (documentElement == nullptr)
        return result;

    auto* element = documentElement->getChildByName ("COMPEFX");

    for (int category = 1; element != nullptr && category <= ModuleNameLoader::maxCategories; ++category)
    {
        SE_ModuleInfosNode node;
        node.category = category;

        for (auto* type : element->getChildWithTagNameIterator ("Type"))
        {
            const auto key = getOwnText (type).trim();
            auto name = type->getStringAttribute ("name");
            if (name.isEmpty())
                name = key;

            node.keys.add (key);
            node.names.add (name);

            if (categoryHasModelingFlags (category))
                node.modeling.push_back (type->getIntAttribute ("modeling") == 1 ? 1 : 0);
        }

        result.push_back (std::move (node));

        // the next sibling element; stray text between the categories is none
        do
            element = element->getNextElement();
        while (element != nullptr && element->isTextElement());
    }

    return result;
}

std::vector<SE_ModuleInfosNode> readModuleCatalogue (const juce::File& moduleXml)
{
    if (! moduleXml.existsAsFile())
        return {};

    auto document = parseXmlFile (moduleXml);
    return readModuleCatalogue (document.get());
}

ModuleNameLoader* ModuleNameLoader::getInstance()
{
    return SharedInstance<ModuleNameLoader>::get ([]
    {
        return std::make_unique<ModuleNameLoader> (getResourceFolder().getChildFile ("Module.xml"));
    });
}

void ModuleNameLoader::deleteInstance()
{
    SharedInstance<ModuleNameLoader>::destroy();
}

ModuleNameLoader::ModuleNameLoader (const juce::File& moduleXml)
    : categories (readModuleCatalogue (moduleXml))
{
}

SE_ModuleInfosNode ModuleNameLoader::getCategory (int index) const
{
    if (index < 0 || index >= getNumCategories())
        return {};
    return categories[(size_t) index];
}

void ModuleNameLoader::setValueTables (int index, std::vector<SE_ModulePrmsTable> tables)
{
    if (index >= 0 && index < getNumCategories())
        categories[(size_t) index].valueTables = std::move (tables);
}

} // namespace T730
