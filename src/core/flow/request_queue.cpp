// SPDX-License-Identifier: MIT
#include "flow/request_queue.h"

#include <algorithm>
#include <utility>

namespace pelmoravan {

std::uint32_t TRequestQueue::Post(TRequest request, TOnAnswer onAnswer) {
    request.Id = FNextId++;
    const std::uint32_t id = request.Id;
    FWaiting.push_back(TEntry{std::move(request), std::move(onAnswer)});
    ShowNext();
    return id;
}

bool TRequestQueue::Answer(std::uint32_t id, const TAnswer& answer) {
    if (!FShown || FShown->Request.Id != id) {
        return false;
    }
    TOnAnswer onAnswer = std::move(FShown->OnAnswer);
    FShown.reset();
    if (onAnswer) {
        FDelivering = true;
        try {
            onAnswer(answer);
        } catch (...) {
            FDelivering = false;
            ShowNext();
            throw;
        }
        FDelivering = false;
    }
    ShowNext();
    return true;
}

void TRequestQueue::Withdraw(std::uint32_t id) {
    if (FShown && FShown->Request.Id == id) {
        FShown.reset();
        FWindow.CloseRequest(id);
        ShowNext();
        return;
    }
    std::erase_if(FWaiting, [id](const TEntry& entry) { return entry.Request.Id == id; });
}

bool TRequestQueue::Holds(TRequestKind kind, const std::string& text) const {
    const auto same = [&](const TEntry& entry) { return entry.Request.Kind == kind && entry.Request.Text == text; };
    return (FShown && same(*FShown)) || std::any_of(FWaiting.begin(), FWaiting.end(), same);
}

void TRequestQueue::Clear() {
    FWaiting.clear();
    FShown.reset();
}

void TRequestQueue::ShowNext() {
    if (FShown || FDelivering || FWaiting.empty()) {
        return;
    }
    FShown.emplace(std::move(FWaiting.front()));
    FWaiting.pop_front();
    FWindow.ShowRequest(FShown->Request);
}

} // namespace pelmoravan
