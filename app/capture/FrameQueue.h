// Hands rendered pictures from the render loop to the encoder thread through a few reusable
// buffers, so that rendering and encoding run side by side.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace Capture {

class FrameQueue {
public:
    // `capacity` buffers of `frameBytes` bytes each.
    FrameQueue(std::size_t frameBytes, int capacity);

    // Producer: a free buffer to fill, waiting while every buffer is queued or being encoded.
    // Returns nullptr once stopped.
    std::uint8_t* acquire();
    // Producer: queues a filled buffer; pictures are consumed in the order they are pushed.
    void push(std::uint8_t* filled);
    // Producer: no more pictures will come.
    void close();

    // Consumer: the next filled buffer, waiting for one; nullptr when closed and empty, or
    // stopped.
    std::uint8_t* next();
    // Consumer: gives a buffer it has finished with back for reuse.
    void release(std::uint8_t* buffer);

    // Either side: ends the hand-over at once; every wait returns nullptr from then on.
    void stop();

private:
    std::vector<std::vector<std::uint8_t>> storage;
    std::vector<std::uint8_t*> free;
    std::deque<std::uint8_t*> filled;
    bool closed = false;
    bool stopped = false;
    std::mutex mutex;
    std::condition_variable changed;
};

} // namespace Capture
