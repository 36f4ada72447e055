// Step 0: the five user-data folders, emptied and recreated, with the error log
// template in "setting". Later steps fill them.
#include "FactoryStep.h"
#include <iostream>

namespace oxafactory
{
namespace
{
    bool makeUserDataFolders (const FactoryContext& context)
    {
        for (const auto* name : userDataFolders)
        {
            const auto folder = context.stage.getChildFile (name);
            if (folder.exists() && ! folder.deleteRecursively())
            {
                std::cerr << "cannot empty " << folder.getFullPathName() << "\n";
                return false;
            }
            if (! folder.createDirectory())
            {
                std::cerr << "cannot create " << folder.getFullPathName() << "\n";
                return false;
            }
        }

        // The log starts empty; the program's file logger writes its banner into it.
        const auto log = context.stage.getChildFile ("setting").getChildFile ("ErrLogM7c.log");
        if (! log.create())
        {
            std::cerr << "cannot create " << log.getFullPathName() << "\n";
            return false;
        }

        return true;
    }

    const FactoryStepRegistration registration (0, "user-data folders", makeUserDataFolders);
} // namespace
} // namespace oxafactory
