#include "sim/WireFaults.h"

namespace velk::sim {

void WireFaults::setReplyDelay(Request request, std::chrono::microseconds delay) {
    Rule& rule = at(m_Rules, request);
    rule.hasDelay = true;
    rule.delay = delay;
}

void WireFaults::dropReplies(Request request, int count, int after) {
    Rule& rule = at(m_Rules, request);
    rule.dropAfter = rule.arrivals + after;
    rule.dropCount = count;
}

void WireFaults::holdReplies(Request request, bool holding) {
    at(m_Rules, request).holding = holding;
}

void WireFaults::unplugOn(Request request, int nth) {
    Rule& rule = at(m_Rules, request);
    rule.unplugOn = rule.arrivals + nth;
}

bool WireFaults::arrives(Request request) {
    Rule& rule = at(m_Rules, request);
    ++rule.arrivals;
    return rule.arrivals == rule.unplugOn;
}

ReplyFate WireFaults::fateOfReply(Request request) const {
    const Rule& rule = at(m_Rules, request);
    if (dropsArrival(rule))
        return {ReplyFate::Drop};
    if (rule.holding)
        return {ReplyFate::Hold};
    return {ReplyFate::Send, rule.hasDelay ? rule.delay : m_DefaultDelay};
}

bool WireFaults::dropsArrival(const Rule& rule) {
    if (rule.dropCount == 0 || rule.arrivals <= rule.dropAfter)
        return false;
    return rule.dropCount == kForever || rule.arrivals <= rule.dropAfter + rule.dropCount;
}

}  // namespace velk::sim
