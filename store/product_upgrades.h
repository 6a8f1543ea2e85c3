#pragma once

#include "store/carried_scripts.h"

#include <QString>

class UpgradeSteps;

namespace fb {
class Transaction;
}

// Registers the product's upgrade steps 2.08, 2.09, 2.10, 2.12, 2.16 and 2.17. Each runs its
// carried script on the data store's open database through runScript (a failing script
// raises). Step 2.09 also loads the default templates from templatesFolder (empty:
// defaultTemplatesFolder()); rerun on a book it left half done, it keeps the table it made and
// the templates it stored. Step 2.16 then sets every template's EXT from its content.
void registerProductUpgrades(UpgradeSteps& steps, const QString& templatesFolder,
                             ScriptRunner runScript);

// EXT of every row of PRINTFORMS := templateExtension of its DATA. The caller commits.
void setTemplateExtensionsFromContent(fb::Transaction& transaction);
