#pragma once

#include "cli/PersonTexts.h"
#include "generate/NameSampler.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <semaphore>
#include <thread>
#include <vector>

class PersonFields;

// The person's fields of a run's records, made on a thread of their own while the records
// before them are written: they cost as much as all the rest of a record. People are drawn a
// batch at a time by the writing thread, which needs them anyway; the other makes their texts, a
// batch or two behind the drawing and ahead of the writing. A record's texts are a pure function
// of its place in the roster, so they are the texts the writing thread would have made.
class PersonAhead
{
public:
    static constexpr std::uint64_t Batch = 4096;

    // The people and their texts of count records from the roster's record first on; null when
    // a thread is not worth it (a few batches, or one core to run on) or cannot be had (a limit
    // on a user's processes): the texts are then made in turn.
    static std::unique_ptr<PersonAhead> start(
        const PersonFields &fields, const NameSampler &sampler, std::uint64_t first, std::uint64_t count);
    // Stops the thread, wherever it is: a run may end before its last record (a closed pipe).
    ~PersonAhead();
    PersonAhead(const PersonAhead &) = delete;
    PersonAhead &operator=(const PersonAhead &) = delete;

    // The person of the run's record i, at most a batch past the record whose texts were last
    // asked for: a batch is drawn into the slot of the one three before it, which must be
    // written by then.
    const NameSampler::Person &person(std::uint64_t i)
    {
        while (i / Batch >= m_drawn)
            draw();
        return m_slots[(i / Batch) % Slots].people[i % Batch];
    }
    // The texts of the run's record i; i counts up from 0, one record after another.
    const PersonTexts &texts(std::uint64_t i)
    {
        if (i / Batch != m_reading)
            turnTo(i / Batch);
        return m_slots[m_reading % Slots].texts[i % Batch];
    }

private:
    PersonAhead(const PersonFields &fields, const NameSampler &sampler, std::uint64_t first, std::uint64_t count);

    // One batch read, one made, one drawn.
    static constexpr std::uint64_t Slots = 3;
    static constexpr std::uint64_t None = ~std::uint64_t(0);

    struct Slot
    {
        std::vector<NameSampler::Person> people;
        std::vector<PersonTexts> texts;
        std::unique_ptr<char[]> rooms; // the batch's texts, one after another
        std::counting_semaphore<2> drawn{0}; // and once more at the end
        std::binary_semaphore made{0};
    };

    static bool isWorthIt(std::uint64_t count);
    void draw();
    void turnTo(std::uint64_t batch);
    void make();

    const PersonFields &m_fields;
    const NameSampler &m_sampler;
    std::uint64_t m_first;
    std::uint64_t m_count;
    std::array<Slot, Slots> m_slots;
    std::uint64_t m_drawn = 0; // batches
    std::uint64_t m_reading = None;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
