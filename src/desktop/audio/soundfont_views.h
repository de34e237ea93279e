// SPDX-License-Identifier: MIT
#pragma once
#include <set>
#include <string>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_sfloader_t fluid_sfloader_t;

namespace pelmoravan {

// Soundfonts loaded through a TSoundFontView: the synthesizer reads files only through a
// loader's callbacks, by name, and reopens them whenever it loads samples later. The views live
// for the whole process, shared by every synthesizer.
class TSoundFontViews {
public:
    // A loader (for fluid_synth_add_sfloader) that reads registered names through their views
    // and any other name as a plain file.
    static fluid_sfloader_t* NewLoader(fluid_settings_t* settings);
    // The name under which the file is seen with only the presets of the programs (and every
    // percussion kit); "" when the file cannot be read so.
    static std::string Register(const std::string& path, const std::set<int>& programs);
};

} // namespace pelmoravan
