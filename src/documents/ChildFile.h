#pragma once

// Names joined to folders: the rules live with the platform layer, which the
// first-run copy uses too.
#include "platform/PlainNames.h"
