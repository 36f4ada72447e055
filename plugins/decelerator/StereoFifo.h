#pragma once

#include <algorithm>
#include <vector>

namespace T730::Modules
{

/** A first-in first-out queue of stereo float frames with a fixed capacity. Not thread-safe:
    one owner (the audio thread) pushes and pops. */
class StereoFifo
{
public:
    void setCapacity (int frames)
    {
        capacity = std::max (1, frames);
        for (auto& ch : data)
            ch.assign (static_cast<size_t> (capacity), 0.0f);
        clear();
    }

    void clear() noexcept { readPos = size = 0; }
    int getSize() const noexcept { return size; }
    int getFree() const noexcept { return capacity - size; }

    /** Appends up to `frames` frames; answers how many fitted. */
    template <typename Sample>
    int push (const Sample* const* channels, int frames) noexcept
    {
        frames = std::min (frames, getFree());
        for (int ch = 0; ch < 2; ++ch)
        {
            int pos = (readPos + size) % capacity;
            for (int i = 0; i < frames; ++i)
            {
                data[ch][static_cast<size_t> (pos)] = static_cast<float> (channels[ch][i]);
                if (++pos == capacity)
                    pos = 0;
            }
        }
        size += frames;
        return frames;
    }

    /** Removes up to `frames` frames into `channels` (null: just drops them); answers the count. */
    template <typename Sample>
    int pop (Sample* const* channels, int frames) noexcept
    {
        frames = std::min (frames, size);
        if (channels != nullptr)
        {
            for (int ch = 0; ch < 2; ++ch)
            {
                int pos = readPos;
                for (int i = 0; i < frames; ++i)
                {
                    channels[ch][i] = static_cast<Sample> (data[ch][static_cast<size_t> (pos)]);
                    if (++pos == capacity)
                        pos = 0;
                }
            }
        }
        readPos = (readPos + frames) % capacity;
        size -= frames;
        return frames;
    }

private:
    std::vector<float> data[2];
    int capacity = 1;
    int readPos = 0;
    int size = 0;
};

} // namespace T730::Modules
