// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "headless/headless.h"
#include "ports/requests.h"

namespace pelmoravan {

class TGameHost;

// One game in memory: the house with a hand-moved clock, no sound, and a window whose requests
// wait in a list until someone answers them. Its loop is turned by hand, one step at a time.
class THeadlessSession {
public:
    // Starts the house at once; a start the house refuses is shown as its start error.
    THeadlessSession(const THeadlessOptions& options, IPaintDevice& device, THeadlessResult& result,
                     const std::function<bool()>& presented = {});
    ~THeadlessSession();

    TGameHost& Host();
    // Starts the house (again): what the front end does once the score file is checked.
    void Start();
    // The requests on show, oldest first (the house shows one at a time).
    const std::deque<TRequest>& Shown() const;
    // Answers the request on show longest; false when none is.
    bool Answer(const TAnswer& answer);
    // The exit code the program was asked to end with (0 for the Exit command).
    std::optional<int> Ended() const;
    // One turn of the loop: the turn the house asked for, else the clock moved to the next
    // wake-up and the frame timer woken. False when neither was due.
    bool Step();
    // Runs the turns asked for, without moving the clock.
    void Settle();
    // The millisecond clock.
    std::uint32_t Now() const;

private:
    class TParts;
    std::unique_ptr<TParts> FParts;
};

} // namespace pelmoravan
