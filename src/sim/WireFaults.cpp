#include "sim/WireFaults.h"

namespace velk::sim {

void WireFaults::setReplyDelay(Request request, std::chrono::microseconds delay) {
    Rule& rule = at(m_Rules, request);
    rule.hasDelay = true;
    rule.delay = delay;
}

WireFaults::Range WireFaults::rangeFromNext(const Rule& rule, int count, int after) {
    return {rule.arrivals + after, count};
}

void WireFaults::dropReplies(Request request, int count, int after) {
    Rule& rule = at(m_Rules, request);
    rule.dropped = rangeFromNext(rule, count, after);
}

void WireFaults::duplicateReplies(Request request, int count, int after) {
    Rule& rule = at(m_Rules, request);
    rule.duplicated = rangeFromNext(rule, count, after);
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
    if (rule.dropped.contains(rule.arrivals))
        return {ReplyFate::Drop};
    if (rule.holding)
        return {ReplyFate::Hold};
    return {ReplyFate::Send, rule.hasDelay ? rule.delay : m_DefaultDelay,
            rule.duplicated.contains(rule.arrivals) ? 2 : 1};
}

bool WireFaults::Range::contains(int arrival) const {
    if (count == 0 || arrival <= after)
        return false;
    return count == kForever || arrival <= after + count;
}

}  // namespace velk::sim
