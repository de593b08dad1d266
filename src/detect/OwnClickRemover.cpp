// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/OwnClickRemover.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

void OwnClickRemover::reset()
{
    clock_.reset();
    clicks_.clear();
    left_.clear();
    right_.clear();
    bufferStart_ = 0;
    misses_ = 0;
    removed_ = 0;
    // The loop measured stays: the same output and input keep their latencies.
}

void OwnClickRemover::addClick(Click click)
{
    if (click.samples && !click.samples->empty())
        clicks_.push_back(std::move(click));
}

std::optional<double> OwnClickRemover::loopSeconds() const
{
    if (!lagFrames_)
        return std::nullopt;
    return *lagFrames_ / rate;
}

double OwnClickRemover::predictedFrame(const Click &click) const
{
    return (click.seconds - clock_.seconds(0)) * rate + lagFrames_.value_or(0.0);
}

qint64 OwnClickRemover::searchFrom(double predicted) const
{
    return std::llround(predicted) - (lagFrames_ ? narrowSearchFrames : wideSearchBefore);
}

qint64 OwnClickRemover::searchTo(double predicted) const
{
    return std::llround(predicted) + (lagFrames_ ? narrowSearchFrames : wideSearchAfter);
}

void OwnClickRemover::push(const std::vector<qint16> &block, double readySeconds, std::vector<qint16> &out)
{
    for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
        left_.push_back(block[i]);
        right_.push_back(block[i + 1]);
    }
    const qint64 end = bufferStart_ + qint64(left_.size());
    clock_.add(end, readySeconds);
    removeReadyClicks();
    // The click placed first may still arrive from where its search starts.
    qint64 upTo = end;
    if (!clicks_.empty())
        upTo = std::min(upTo, searchFrom(predictedFrame(clicks_.front())));
    release(std::max(upTo, end - maxHoldFrames), out);
}

void OwnClickRemover::removeReadyClicks()
{
    const qint64 end = bufferStart_ + qint64(left_.size());
    while (!clicks_.empty()) {
        const Click &click = clicks_.front();
        const double predicted = predictedFrame(click);
        const int length = std::min(int(click.samples->size()), maxClickFrames);
        if (searchTo(predicted) + length > end)
            return;
        // A click whose window is already released (placed before this capture began, handed
        // over too late, or predicted by a loop that no longer holds) is missed like any other.
        if (searchTo(predicted) >= bufferStart_ && removeClick(click, predicted)) {
            misses_ = 0;
            ++removed_;
        } else if (++misses_ >= missesBeforeWideSearch) {
            lagFrames_.reset();
            misses_ = 0;
        }
        clicks_.pop_front();
    }
}

bool OwnClickRemover::removeClick(const Click &click, double predicted)
{
    const std::vector<float> &sound = *click.samples;
    const int length = std::min(int(sound.size()), maxClickFrames);
    const int match = std::min(length, matchFrames);
    const qint64 first = std::max(bufferStart_, searchFrom(predicted));
    const qint64 last = std::min(searchTo(predicted), bufferStart_ + qint64(left_.size()) - length);
    // Matched on the change from sample to sample: a click is all edges, while the loudest
    // part of music (bass, a kick's body) hardly changes from one sample to the next.
    std::vector<float> edges(std::size_t(match - 1));
    double soundPower = 0;
    for (int k = 0; k + 1 < match; ++k) {
        edges[std::size_t(k)] = sound[std::size_t(k) + 1] - sound[std::size_t(k)];
        soundPower += double(edges[std::size_t(k)]) * edges[std::size_t(k)];
    }
    if (!(soundPower > 0))
        return false;
    const auto mid = [this](std::size_t i) { return double(left_[i]) + right_[i]; };
    double best = 0;
    qint64 bestAt = -1;
    for (qint64 at = first; at <= last; ++at) {
        const std::size_t from = std::size_t(at - bufferStart_);
        double score = 0;
        for (int k = 0; k + 1 < match; ++k)
            score += (mid(from + std::size_t(k) + 1) - mid(from + std::size_t(k))) * edges[std::size_t(k)];
        if (score > best) {
            best = score;
            bestAt = at;
        }
    }
    if (bestAt < 0)
        return false;
    const std::size_t from = std::size_t(bestAt - bufferStart_);
    double capturePower = 0;
    for (int k = 0; k + 1 < match; ++k) {
        const double edge = mid(from + std::size_t(k) + 1) - mid(from + std::size_t(k));
        capturePower += edge * edge;
    }
    if (best < minimumMatch * std::sqrt(capturePower * soundPower))
        return false;
    // Each side at the level it carries the click at, fitted over the whole click.
    double full = 0;
    double onLeft = 0;
    double onRight = 0;
    for (int k = 0; k < length; ++k) {
        const double c = sound[std::size_t(k)];
        full += c * c;
        onLeft += left_[from + std::size_t(k)] * c;
        onRight += right_[from + std::size_t(k)] * c;
    }
    const double gainLeft = onLeft / full;
    const double gainRight = onRight / full;
    for (int k = 0; k < length; ++k) {
        left_[from + std::size_t(k)] -= float(gainLeft * sound[std::size_t(k)]);
        right_[from + std::size_t(k)] -= float(gainRight * sound[std::size_t(k)]);
    }
    lagFrames_ = double(bestAt) - (click.seconds - clock_.seconds(0)) * rate;
    return true;
}

void OwnClickRemover::release(qint64 upTo, std::vector<qint16> &out)
{
    const qint64 count = std::min(upTo - bufferStart_, qint64(left_.size()));
    if (count <= 0)
        return;
    out.reserve(out.size() + std::size_t(count) * 2);
    const auto sample = [](float v) { return qint16(std::clamp(std::lround(v), -32768L, 32767L)); };
    for (qint64 i = 0; i < count; ++i) {
        out.push_back(sample(left_[std::size_t(i)]));
        out.push_back(sample(right_[std::size_t(i)]));
    }
    left_.erase(left_.begin(), left_.begin() + count);
    right_.erase(right_.begin(), right_.begin() + count);
    bufferStart_ += count;
}

} // namespace pulsivar
