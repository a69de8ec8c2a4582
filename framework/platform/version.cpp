#include "framework/platform/version.h"

#include "framework/text/format.h"

#ifndef PENWICK_VERSION_MAJOR
#error "the build passes the project version"
#endif

namespace penwick {

const VersionRecord& versionRecord() {
    static const VersionRecord record = [] {
        VersionRecord r;
        ktString version = format("%d, %d, %d, 0", PENWICK_VERSION_MAJOR, PENWICK_VERSION_MINOR,
                                  PENWICK_VERSION_PATCH);
        r.company = "Corvana";
        r.fileDescription = "Penwick";
        r.fileVersion = version;
        r.internalName = "penwick";
        r.fileName = "penwick";
        r.productName = "Penwick";
        r.productVersion = version;
        return r;
    }();
    return record;
}

bool versionRead() {
    return true;
}

}  // namespace penwick
