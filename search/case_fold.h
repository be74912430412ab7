// The platform's own case mapping as a fold for searches that ignore case.
#pragma once

#include "search/text_search.h"

// Made once, from the platform's lower- and upper-case mapping of every 16-bit character, so it
// covers every letter the platform knows, accented and non-Latin ones included.
const CaseFold& platformCaseFold();
