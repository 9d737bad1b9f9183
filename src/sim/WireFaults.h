#pragma once

#include <array>
#include <chrono>
#include <cstddef>

#include "sim/AmpModel.h"

namespace velk::sim {

// What happens on the way out to one answer of the amplifier.
struct ReplyFate {
    enum Kind {
        Send,  // after `delay`
        Drop,  // never arrives
        Hold,  // waits until the test releases it
    };
    Kind kind = Send;
    std::chrono::microseconds delay{0};
    int copies = 1;  // a sent reply may arrive more than once
};

// Losses and delays between the amplifier and the computer, chosen per kind of request. Counts
// refer to the messages of that kind that reach the amplifier after the rule is set, from 1.
class WireFaults {
public:
    static constexpr int kForever = -1;

    // Every reply waits this long before it leaves; a kind's own delay takes precedence.
    void setReplyDelay(std::chrono::microseconds delay) { m_DefaultDelay = delay; }
    void setReplyDelay(Request request, std::chrono::microseconds delay);

    // Replies to the messages of that kind numbered after+1 to after+count are lost.
    void dropReplies(Request request, int count = kForever, int after = 0);
    // Replies to the messages of that kind numbered after+1 to after+count arrive twice, as a
    // transport that repeats an event delivers them.
    void duplicateReplies(Request request, int count = kForever, int after = 0);
    // Replies of that kind are kept back (holding == true) until released.
    void holdReplies(Request request, bool holding);
    // The amplifier disappears when the nth message of that kind arrives, before answering it.
    void unplugOn(Request request, int nth);

    // Counts one arriving message of that kind; says whether the amplifier vanishes with it.
    bool arrives(Request request);
    // The fate of the reply to the message that arrived last of that kind.
    ReplyFate fateOfReply(Request request) const;

    int arrivals(Request request) const { return at(m_Rules, request).arrivals; }

private:
    // The messages numbered after+1 to after+count (all after `after` for kForever).
    struct Range {
        int after = 0;
        int count = 0;
        bool contains(int arrival) const;
    };
    struct Rule {
        int arrivals = 0;
        Range dropped;
        Range duplicated;
        int unplugOn = 0;
        bool holding = false;
        bool hasDelay = false;
        std::chrono::microseconds delay{0};
    };
    static constexpr size_t kRequests = static_cast<size_t>(Request::CoefficientPacket) + 1;
    using Rules = std::array<Rule, kRequests>;

    static Rule& at(Rules& rules, Request request) { return rules[static_cast<size_t>(request)]; }
    static const Rule& at(const Rules& rules, Request request) { return rules[static_cast<size_t>(request)]; }
    static Range rangeFromNext(const Rule& rule, int count, int after);

    Rules m_Rules{};
    std::chrono::microseconds m_DefaultDelay{0};
};

}  // namespace velk::sim
