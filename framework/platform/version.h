#pragma once
// The program's version record, compiled into the program: names and
// versions as the about box and the data folder show them.

#include "framework/text/string.h"

namespace penwick {

struct VersionRecord {
    ktString company;          // "CompanyName"
    ktString fileDescription;  // "FileDescription"
    ktString fileVersion;      // "FileVersion", "major, minor, patch, 0"
    ktString internalName;     // "InternalName"
    ktString fileName;         // "OriginalFilename"
    ktString productName;      // "ProductName"
    ktString productVersion;   // "ProductVersion"
    ktString comments;         // "Comments"
    ktString trademarks;       // "LegalTrademarks"
    ktString privateBuild;     // "PrivateBuild"
    ktString specialBuild;     // "SpecialBuild"
    ktString homePage;         // "HomePage"
};

// The one record of the process.
const VersionRecord& versionRecord();
// Whether the record holds the program's own values (always, since they are
// compiled in) rather than the placeholders.
bool versionRead();

}  // namespace penwick
