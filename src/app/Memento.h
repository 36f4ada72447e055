#pragma once

// The undo pair lives with the documents it keeps snapshots of (the recorder's
// takes use it too); the controller's files keep including it from here.
#include "documents/Memento.h"
