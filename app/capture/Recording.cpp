// Records a stretch of the show: renders each frame offscreen and encodes it, with the
// soundtrack placed as it is heard live, on a separate encoder thread.
#include "app/capture/Recording.h"

#include "app/Demo.h"
#include "app/ModuleStream.h"
#include "app/capture/FrameQueue.h"
#include "app/capture/MediaWriter.h"
#include "app/capture/PixelReader.h"
#include "app/capture/Progress.h"
#include "content/Resources.h"

#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace Capture {

namespace {

constexpr int kPicturesInFlight = 2; // pixel buffer objects being read back
constexpr int kQueuedPictures = 4;   // pictures waiting for or in the encoder

// Wall seconds since `start`.
double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Feeds the soundtrack to a writer from its current position up to a module frame.
class Soundtrack {
public:
    explicit Soundtrack(const SoundSpan& span)
        : stream(moduleData, moduleSize), end(span.first + span.frames),
          chunk(static_cast<std::size_t>(Audio::kBufferFrames) * Audio::kChannels) {
        stream.seek(span.first);
    }
    // Writes sound up to module frame `until`, never past the span's end.
    void writeUntil(MediaWriter& writer, long long until) {
        until = std::min(until, end);
        while (stream.position() < until) {
            const long frames = static_cast<long>(
                std::min<long long>(Audio::kBufferFrames, until - stream.position()));
            stream.read(chunk.data(), frames);
            writer.writeSound(chunk.data(), frames);
        }
    }
    long long position() const { return stream.position(); }
    long long endFrame() const { return end; }

private:
    ModuleStream stream;
    long long end;
    std::vector<std::int16_t> chunk;
};

// The encoder thread: takes pictures from the queue in order, encodes each, and after each
// the sound that plays until the next one begins.
class Encoder {
public:
    Encoder(MediaWriter& writer, FrameQueue& queue, const Request& request)
        : writer(writer), queue(queue), request(request),
          soundtrack(soundSpan(request.from, request.to)), thread([this] { run(); }) {}
    ~Encoder() {
        queue.stop();
        if (thread.joinable())
            thread.join();
    }

    // Waits for the thread to finish the file; rethrows what it failed with.
    void join() {
        if (thread.joinable())
            thread.join();
        if (hasFailed.load())
            throw std::runtime_error(failure);
    }
    bool failed() const { return hasFailed.load(); }

private:
    void run() {
        try {
            long n = 0;
            while (std::uint8_t* picture = queue.next()) {
                writer.writePicture(picture);
                queue.release(picture);
                ++n;
                soundtrack.writeUntil(writer, moduleFrameAtDemoTime(frameTime(request, n)));
            }
            if (!stoppedEarly(n)) {
                soundtrack.writeUntil(writer, soundtrack.endFrame());
                writer.finish();
            }
        } catch (const std::exception& error) {
            failure = error.what(); // read only after the thread is joined
            hasFailed.store(true);
            queue.stop();
        }
    }
    bool stoppedEarly(long encoded) const { return encoded < frameCount(request); }

    MediaWriter& writer;
    FrameQueue& queue;
    const Request& request;
    Soundtrack soundtrack;
    std::string failure;
    std::atomic<bool> hasFailed{false};
    std::thread thread;
};

MediaSettings settingsFor(const Request& request) {
    return MediaSettings{request.output, request.width, request.height, request.fps,
                         request.quality};
}

RecordingReport recordSound(const Request& request, const std::string& path,
                            const volatile std::sig_atomic_t& stopFlag) {
    const auto start = std::chrono::steady_clock::now();
    const SoundSpan span = soundSpan(request.from, request.to);
    MediaWriter writer(path, settingsFor(request));
    Soundtrack soundtrack(span);
    // Progress counts whole seconds of sound; a second renders in a few milliseconds.
    const long seconds =
        static_cast<long>((span.frames + Audio::kSampleRate - 1) / Audio::kSampleRate);
    Progress progress(stderr, isatty(STDERR_FILENO), seconds, "s of sound", "s/s");
    RecordingReport report;
    while (soundtrack.position() < soundtrack.endFrame()) {
        if (stopFlag) {
            progress.close();
            report.stopped = true;
            return report;
        }
        soundtrack.writeUntil(writer, soundtrack.position() + Audio::kSampleRate);
        const long done = static_cast<long>(
            (soundtrack.position() - span.first + Audio::kSampleRate - 1) / Audio::kSampleRate);
        progress.update(done, secondsSince(start));
    }
    writer.finish();
    progress.close();
    report.units = static_cast<long>(span.frames);
    return report;
}

RecordingReport recordVideo(const Request& request, const std::string& path,
                            const volatile std::sig_atomic_t& stopFlag) {
    const auto start = std::chrono::steady_clock::now();
    const long total = frameCount(request);
    RecordingReport report;

    Demo demo(DemoOptions{request.width, request.height, false, false});
    demo.setupCapture();

    PixelReader reader(request.width, request.height, kPicturesInFlight);
    FrameQueue queue(reader.frameBytes(), kQueuedPictures);
    MediaWriter writer(path, settingsFor(request));
    Progress progress(stderr, isatty(STDERR_FILENO), total, "frames", "fps");
    Encoder encoder(writer, queue, request);

    // Hands the oldest picture read back to the encoder; false once the hand-over has stopped.
    const auto handOver = [&] {
        std::uint8_t* buffer = queue.acquire();
        if (!buffer)
            return false;
        reader.take(buffer);
        queue.push(buffer);
        return true;
    };
    for (long n = 0; n < total; ++n) {
        if (stopFlag || encoder.failed())
            break;
        demo.drawFrame(frameTime(request, n));
        if (reader.full() && !handOver())
            break;
        reader.start();
        report.units = n + 1 - reader.pending();
        progress.update(report.units, secondsSince(start));
    }
    while (!stopFlag && !encoder.failed() && reader.pending() > 0 && handOver()) {
    }
    report.units = total - reader.pending();
    if (stopFlag || encoder.failed()) {
        progress.close();
        queue.stop();
        encoder.join(); // throws the encoder's failure, if that was the reason
        report.stopped = true;
        return report;
    }
    queue.close();
    encoder.join();
    progress.update(total, secondsSince(start));
    progress.close();
    return report;
}

} // namespace

SoundSpan soundSpan(double from, double to) {
    const long long first = moduleFrameAtDemoTime(from);
    return SoundSpan{first, moduleFrameAtDemoTime(to) - first};
}

RecordingReport record(const Request& request, const std::string& path,
                       const volatile std::sig_atomic_t& stopFlag) {
    if (request.output == Output::Wav)
        return recordSound(request, path, stopFlag);
    return recordVideo(request, path, stopFlag);
}

} // namespace Capture
