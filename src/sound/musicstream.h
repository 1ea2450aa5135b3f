#pragma once

#include <QByteArray>
#include <QtGlobal>

#include "audiothread.h"

namespace qv {

class SoundDevice;

// The one music stream as the UI thread sees it: the tune a player holds,
// whether it plays, and the runs it starts on the audio thread. Every run is
// numbered, so that the end of a run that has since been stopped or replaced
// is known for what it is.
//
// Threads: everything here is the UI thread's, but the cue, which it writes
// only with SDL's audio lock held (or with the device closed), for the audio
// thread to read.
class MusicStream {
public:
    explicit MusicStream(SoundDevice& device) : device_(device) {}

    const MusicCue& cue() const { return cue_; }

    // The synthesizer was asked for and there is none: no tune can play.
    bool synthMissing() const { return synthMissing_; }
    // The synthesizer has been built (nullptr: it could not be). A tune asked
    // to play meanwhile starts now, from its top; without a synthesizer it
    // stops, silently.
    void takeSynth(MusicSynth* synth);

    bool holdsTune() const { return !tune_.isEmpty(); }
    int owner() const { return owner_; }
    bool playing() const { return playing_; }
    // Where the tune's last note ends, in milliseconds.
    qint64 noteEndMs() const { return noteEndMs_; }

    // Gives the stream to a player with a tune (a Standard MIDI File) at its
    // top. A tune playing is cut off; one that has ended rings on until the
    // next one starts.
    void hold(int player, const QByteArray& tune, qint64 noteEndMs);
    // Plays the tune held from where it stands: from its top, unless it plays.
    // Before the synthesizer has come, the tune counts as playing and starts
    // when it comes.
    bool play();
    // To the top of the tune; one that plays is cut off and plays on from there.
    bool rewind();
    // Stops at once and lets go of the tune.
    void release();
    // The audio thread's news that a run has reached its last note's end:
    // true when it is the tune playing now, which has then ended.
    bool reachedEnd(quint32 run);

private:
    bool startRun();
    void halt();

    SoundDevice& device_;
    MusicCue cue_;
    QByteArray tune_;
    int owner_ = -1;
    qint64 noteEndMs_ = -1;
    // Nothing of the tune has been played since it was taken or rewound.
    bool atTop_ = false;
    bool playing_ = false;
    // Playing, but waiting for the synthesizer.
    bool playPending_ = false;
    bool synthMissing_ = false;
    quint32 runSerial_ = 0;
};

}  // namespace qv
