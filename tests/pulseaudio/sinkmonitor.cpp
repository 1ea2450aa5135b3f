// Records the monitor of a PulseAudio sink (PipeWire's pulse server too) and
// prints, for every fragment it receives, when it came and whether and where
// it holds sound:
//
//   <wall clock ms> <frames> <first loud frame or -1> <peak>
//
// The wall clock is CLOCK_REALTIME, so that a script can compare it with its
// own time stamps ($EPOCHREALTIME). The loud frame's time is the arrival
// time less the frames that follow it. Unlike parec, the stream does not keep
// the sink awake: it is made with PA_STREAM_DONT_INHIBIT_AUTO_SUSPEND, so a
// sink with nothing playing suspends while it records, and the recording
// shows when a stream wakes it.
//
//   sinkmonitor [sink [threshold]]     (sink "null", threshold 100 of 32767)
//
// The server is libpulse's choice (PULSE_SERVER). Runs until it is killed or
// the server goes.
#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr int kRate = 44100;
constexpr int kFragmentMs = 5;

std::string monitorName;
int threshold = 100;

double wallMs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

void onRead(pa_stream* stream, size_t, void*) {
    const void* data = nullptr;
    size_t bytes = 0;
    while (pa_stream_readable_size(stream) > 0) {
        if (pa_stream_peek(stream, &data, &bytes) < 0)
            return;
        if (bytes == 0)
            break;
        const double now = wallMs();
        const long frames = long(bytes / 4);
        long loud = -1;
        int peak = 0;
        if (data != nullptr) {
            const auto* samples = static_cast<const short*>(data);
            for (long i = 0; i < frames * 2; ++i) {
                const int magnitude = std::abs(int(samples[i]));
                peak = std::max(peak, magnitude);
                if (loud < 0 && magnitude > threshold)
                    loud = i / 2;
            }
        }
        std::printf("%.3f %ld %ld %d\n", now, frames, loud, peak);
        std::fflush(stdout);
        pa_stream_drop(stream);
    }
}

void onState(pa_stream* stream, void* userdata) {
    auto* api = static_cast<pa_mainloop_api*>(userdata);
    if (pa_stream_get_state(stream) == PA_STREAM_FAILED ||
        pa_stream_get_state(stream) == PA_STREAM_TERMINATED) {
        std::fprintf(stderr, "sinkmonitor: the stream ended\n");
        api->quit(api, 1);
    }
}

void onContext(pa_context* context, void* userdata) {
    auto* api = static_cast<pa_mainloop_api*>(userdata);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY: {
            const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, kRate, 2};
            pa_stream* stream = pa_stream_new(context, "sink monitor", &sampleFormat, nullptr);
            pa_stream_set_read_callback(stream, onRead, nullptr);
            pa_stream_set_state_callback(stream, onState, api);
            pa_buffer_attr attr{};
            attr.maxlength = uint32_t(-1);
            attr.fragsize = uint32_t(pa_usec_to_bytes(kFragmentMs * 1000, &sampleFormat));
            const auto flags =
                pa_stream_flags_t(PA_STREAM_DONT_INHIBIT_AUTO_SUSPEND | PA_STREAM_ADJUST_LATENCY);
            if (pa_stream_connect_record(stream, monitorName.c_str(), &attr, flags) < 0) {
                std::fprintf(stderr, "sinkmonitor: %s\n", pa_strerror(pa_context_errno(context)));
                api->quit(api, 1);
            }
            break;
        }
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            std::fprintf(stderr, "sinkmonitor: %s\n", pa_strerror(pa_context_errno(context)));
            api->quit(api, 1);
            break;
        default:
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    monitorName = std::string(argc > 1 ? argv[1] : "null") + ".monitor";
    if (argc > 2)
        threshold = std::atoi(argv[2]);
    pa_mainloop* loop = pa_mainloop_new();
    pa_mainloop_api* api = pa_mainloop_get_api(loop);
    pa_context* context = pa_context_new(api, "sinkmonitor");
    pa_context_set_state_callback(context, onContext, api);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        std::fprintf(stderr, "sinkmonitor: %s\n", pa_strerror(pa_context_errno(context)));
        return 1;
    }
    int status = 0;
    pa_mainloop_run(loop, &status);
    pa_context_unref(context);
    pa_mainloop_free(loop);
    return status;
}
