#include "cli/PersonAhead.h"

#include "cli/PersonFields.h"

#include <algorithm>
#include <sched.h>
#include <system_error>

PersonAhead::PersonAhead(
    const PersonFields &fields, const NameSampler &sampler, std::uint64_t first, std::uint64_t count)
    : m_fields(fields)
    , m_sampler(sampler)
    , m_first(first)
    , m_count(count)
{
    for (Slot &slot : m_slots) {
        slot.people.resize(Batch);
        slot.texts.resize(Batch);
        // Room for the longest texts of every record: only what the batch takes is ever touched.
        slot.rooms = std::make_unique_for_overwrite<char[]>(Batch * PersonTexts::Capacity);
    }
}

std::unique_ptr<PersonAhead> PersonAhead::start(
    const PersonFields &fields, const NameSampler &sampler, std::uint64_t first, std::uint64_t count)
{
    if (!isWorthIt(count))
        return nullptr;
    std::unique_ptr<PersonAhead> ahead(new PersonAhead(fields, sampler, first, count));
    try {
        ahead->m_thread = std::thread(&PersonAhead::make, ahead.get());
    } catch (const std::system_error &) {
        return nullptr;
    }
    return ahead;
}

PersonAhead::~PersonAhead()
{
    if (!m_thread.joinable())
        return;
    m_stopping = true;
    // Whichever batch the thread waits for, it wakes and sees the run is over.
    for (Slot &slot : m_slots)
        slot.drawn.release();
    m_thread.join();
}

bool PersonAhead::isWorthIt(std::uint64_t count)
{
    if (count < 4 * Batch)
        return false;
    // The cores this process may run on (taskset, a container's share), not the machine's: on
    // one, the thread would only take turns with the writing.
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (sched_getaffinity(0, sizeof cores, &cores) != 0)
        return std::thread::hardware_concurrency() > 1;
    return CPU_COUNT(&cores) > 1;
}

void PersonAhead::draw()
{
    Slot &slot = m_slots[m_drawn % Slots];
    const std::uint64_t start = m_drawn * Batch;
    const std::uint64_t end = std::min(m_count, start + Batch);
    for (std::uint64_t i = start; i < end; ++i)
        slot.people[i - start] = m_sampler.at(m_first + i);
    ++m_drawn;
    slot.drawn.release();
}

void PersonAhead::turnTo(std::uint64_t batch)
{
    m_reading = batch;
    // The next batch drawn now, so that its texts are made while this one is written.
    while (m_drawn <= batch + 1 && m_drawn * Batch < m_count)
        draw();
    m_slots[batch % Slots].made.acquire();
}

void PersonAhead::make()
{
    for (std::uint64_t batch = 0; batch * Batch < m_count; ++batch) {
        Slot &slot = m_slots[batch % Slots];
        slot.drawn.acquire();
        if (m_stopping)
            return;
        char *room = slot.rooms.get();
        const std::uint64_t start = batch * Batch;
        const std::uint64_t end = std::min(m_count, start + Batch);
        for (std::uint64_t i = start; i < end; ++i)
            room = m_fields.fill(m_first + i, slot.people[i - start], room, slot.texts[i - start]);
        slot.made.release();
    }
}
