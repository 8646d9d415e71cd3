// Hands rendered pictures from the render loop to the encoder thread through a few reusable
// buffers, so that rendering and encoding run side by side.
#include "app/capture/FrameQueue.h"

namespace Capture {

FrameQueue::FrameQueue(std::size_t frameBytes, int capacity)
    : storage(static_cast<std::size_t>(capacity), std::vector<std::uint8_t>(frameBytes)) {
    for (auto& buffer : storage)
        free.push_back(buffer.data());
}

std::uint8_t* FrameQueue::acquire() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return stopped || !free.empty(); });
    if (stopped)
        return nullptr;
    std::uint8_t* buffer = free.back();
    free.pop_back();
    return buffer;
}

void FrameQueue::push(std::uint8_t* buffer) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        filled.push_back(buffer);
    }
    changed.notify_all();
}

void FrameQueue::close() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        closed = true;
    }
    changed.notify_all();
}

std::uint8_t* FrameQueue::next() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return stopped || closed || !filled.empty(); });
    if (stopped || filled.empty())
        return nullptr;
    std::uint8_t* buffer = filled.front();
    filled.pop_front();
    return buffer;
}

void FrameQueue::release(std::uint8_t* buffer) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        free.push_back(buffer);
    }
    changed.notify_all();
}

void FrameQueue::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopped = true;
    }
    changed.notify_all();
}

} // namespace Capture
