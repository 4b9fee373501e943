#pragma once
// The updater's worker threads. Each holds its own reference to the shared state
// and never touches the ResUpdater object, so they may outlive it; everything they
// report goes to the main thread through the state's posts.
#include <memory>

#include "updater/ResUpdater.h"

namespace updater {

// A download worker: takes the next waiting package until none is left, the run
// stops or one of its packages fails.
void downloadWorker(std::shared_ptr<ResUpdaterState> state);

// Fetches package `index` into the downloads cache: reuses a verified file there,
// else tries each patch host in turn (resuming a ".temp" left by a broken
// transfer), checks size and MD5 and renames the file into place. A body longer
// than the listed size is cut there and counts as a corrupt package. A failed write
// to the disk ends the package at once (eid 0, no other host is tried). True when
// the verified file is in place; false after reporting the failure, or silently
// when the run was stopped.
bool downloadPackage(ResUpdaterState& state, int index);

// The unzip thread: unzips the packages strictly in list order as each one is
// downloaded, keeps the cache's serial file current and posts the run's success
// after the last one.
void unzipThread(std::shared_ptr<ResUpdaterState> state);

}  // namespace updater
