#pragma once
// All-or-nothing installation of one unzipped package into the resource cache.
//
// Beside the caches, under the writable path's "auc/":
//   ".staging/"  the package being installed, unzipped in full (and flushed to disk)
//                before anything of it reaches "Resources/";
//   ".apply"     the record of a package whose staged files are complete: its sign,
//                its serial and its zip's file name, one a line, written atomically.
// One package: unzip into ".staging/", write ".apply", move every staged file over its
// place in "Resources/" (folders are merged; a file, folder or link standing in the
// way is replaced, never followed), flush, write "LocalResSignSn" and remove
// "BaseIncomplete" (serial above 0), delete the zip, remove ".apply" and ".staging/".
//
// A process that ends before ".apply" exists leaves "Resources/" as it was: the next
// start deletes the staging and the zip, still in "Downloads/", is reused. One that
// ends after it has its package finished by the next start. recoverPackageApply runs
// at start before anything reads the cache, so readers only ever see the files of
// the recorded serial, and a package's zip goes only once its serial is on disk.
//
// Any one thread at a time (the unzip thread, or the main thread at start).
#include <functional>
#include <string>

namespace updater {

struct ApplyPaths {
    std::string resourcesDir;   // ".../auc/Resources/"
    std::string downloadsDir;   // ".../auc/Downloads/"
    std::string stagingDir;     // ".../auc/.staging/"
    std::string recordFile;     // ".../auc/.apply"

    // The four paths below writable + "auc/" (aucDir ends with "/").
    static ApplyPaths under(const std::string& aucDir);
};

struct PackageRecord {
    std::string sign;
    int sn = 0;            // 0: a part of a base set, no serial is written
    std::string zipFile;   // name in the downloads cache
};

// Deletes what an earlier staging left and makes the folder afresh. False when it
// cannot be made (errno tells why).
bool prepareStaging(const ApplyPaths& paths);

// Deletes the staging folder (an unzip that failed).
void discardStaging(const ApplyPaths& paths);

// Installs the package unzipped into the staging folder, as above. 0 on success,
// else the errno of the step that failed; after a failure past the record the
// package is finished by the next start.
int applyStagedPackage(const ApplyPaths& paths, const PackageRecord& record);

// At start: finishes a recorded package, or deletes an unrecorded staging folder.
// A record that cannot be read counts as none.
void recoverPackageApply(const ApplyPaths& paths);

// Writes "sign sn" to the serial file (atomically, on disk) and then removes
// "BaseIncomplete"; a failed write keeps the marker. sn 0 or below changes nothing.
// True when the serial is on disk (or there was none to write).
bool writeLocalSerial(const std::string& resourcesDir, const std::string& sign, int sn);

// Test seam: called with the name of each step of applyStagedPackage and of the
// recovery as it is about to be taken ("record", "move <relative path>", "serial",
// "zip", "done"); a test may end the process there. Returns the previous hook.
using ApplyStepHook = std::function<void(const std::string& step)>;
ApplyStepHook setApplyStepHook(ApplyStepHook hook);

}  // namespace updater
