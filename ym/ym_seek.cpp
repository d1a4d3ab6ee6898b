// Exact seeking: the song is rendered silently up to the target, in the
// requests a render from the start would make, from the latest snapshot of
// the whole playback state at or before it. Snapshots are taken on the way,
// by seeks and by renders that keep to the same grid, every five seconds or
// so; rendering itself only fills room reserved at load, so it never allocates.
#include <algorithm>

#include "ym/ym_music.h"

namespace {

const int64_t SNAPSHOT_SPACING = 5 * YM_OUTPUT_RATE;  // rounded up to whole requests
const size_t MAX_SNAPSHOTS = 2048;                     // about 7 MB, nearly three hours

}  // namespace

int64_t YmMusic::snapshotInterval() const {
    int64_t request = snapshotRequest;
    return (SNAPSHOT_SPACING + request - 1) / request * request;
}

void YmMusic::startSnapshots() {
    snapshots.clear();
    size_t onePass = size_t(songInfo.length / snapshotInterval()) + 2;
    snapshots.reserve(std::min(onePass, MAX_SNAPSHOTS));
    snapshots.push_back(*this);
    onSnapshotGrid = true;
}

void YmMusic::forgetSnapshots() {
    if (snapshots.size() > 1) snapshots.resize(1);
}

// Between two requests: keeps the state when it lies on the next snapshot's
// frame of a render that has kept to the grid. A request of another size, or
// one that starts off the grid, leaves the grid for good (until a seek).
void YmMusic::keepSnapshot(int32_t requestFrames, bool mayGrow) {
    if (!onSnapshotGrid) return;
    if (requestFrames != snapshotRequest || renderedFrames % snapshotRequest != 0) {
        onSnapshotGrid = false;
        return;
    }
    int64_t interval = snapshotInterval();
    if (renderedFrames % interval != 0 || size_t(renderedFrames / interval) != snapshots.size()) return;
    if (snapshots.size() >= MAX_SNAPSHOTS) return;
    if (!mayGrow && snapshots.size() == snapshots.capacity()) return;
    snapshots.push_back(*this);
}

bool YmMusic::seek(int64_t frame, int32_t requestFrames) {
    if (!musicReady || requestFrames <= 0) return false;
    if (frame < 0) frame = 0;
    takeControls();
    if (requestFrames != snapshotRequest) {
        snapshotRequest = requestFrames;
        forgetSnapshots();
    }
    const uint32_t muted = mutedVoices;
    size_t k = size_t(std::min<int64_t>(frame / snapshotInterval(), int64_t(snapshots.size()) - 1));
    static_cast<YmPlayState&>(*this) = snapshots[k];
    mutedVoices = muted;  // the start is kept before any mute; the others under this one
    onSnapshotGrid = true;

    seekScratch.resize(size_t(requestFrames) * 2);
    while (renderedFrames < frame && !finished) {
        int32_t n = int32_t(std::min<int64_t>(requestFrames, frame - renderedFrames));
        keepSnapshot(n, true);
        renderSong(seekScratch.data(), n);
        renderedFrames += n;
    }
    // A song that finished on the way stays where it ended.
    publish(seekScratch.data(), 0, !finished);
    return true;
}
