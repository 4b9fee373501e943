#pragma once
// The resource-list document: its validation and the choice of the packages that
// one run fetches.
//
// Document: an object with "sign" (string), "xlist" (package list of patches, unzipped
// in serial order, equal serials in list order) and an optional "base" object {"sn", "min", "list" (not empty), optional
// "upgrade" {"from", "list" (may be empty)}}. A package list is an array of
// [sn >= 0, file, md5, size >= 1] items; numbers must be 32-bit integers.
//
// File names must be unique among what one run may fetch together, because each
// package is downloaded under its own name: within "xlist", within "base"."list",
// within "base"."upgrade"."list", and between "xlist" and either base list (the
// base list and the upgrade list are never fetched together and may share names).
// A name that equals another fetched name plus ".temp" also collides, since that is
// the other package's partial download.
#include <cstdint>
#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "updater/ResProtocol.h"

namespace updater {

bool resPackageListValid(const rapidjson::Value& list);

// The whole document against the packaged sign, the name rule above included.
bool resListDocumentValid(const rapidjson::Value& root, const std::string& expectedSign);

enum class PackageOutcome {
    Download,           // packages is not empty
    UpToDate,           // no base needed and the local serial already reaches the remote one
    NothingCollected,   // no base needed and no patch above the reached serial
};

struct PackageDecision {
    PackageOutcome outcome = PackageOutcome::UpToDate;
    std::string remoteSign;
    int realSn = 0;         // the greater of the packaged and local serials
    bool hasXlistSn = false;
    int xlistSn = 0;        // the highest sn of "xlist", when it has items
    bool hasBase = false;
    int baseSn = 0;
    int baseMin = 0;
    int remoteSn = 0;       // newest serial announced by the list
    bool needBase = false;  // the local serial is below "base"."min"
    bool upgradeUsed = false;
    std::vector<ResPackage> packages;   // in unzip order: the base set, then the patches by sn
    int64_t totalBytes = 0;
    // A base set was chosen: its marker file must be written before the downloads.
    bool writeBaseIncomplete() const { return needBase; }
};

// root must have passed resListDocumentValid.
PackageDecision decidePackages(const rapidjson::Value& root, int packagedSn, int localSn);

}  // namespace updater
