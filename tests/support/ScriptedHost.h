// A Host whose answers are scripted by the test and whose requests are recorded.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Host.h"

namespace brevimar::testing {

class ScriptedHost : public Host {
public:
    // Answers for the next file choosers, in order; an empty optional cancels.
    // With the queue empty, a chooser is cancelled.
    std::deque<std::optional<std::string>> FileChoices;
    std::vector<FileDialogRequest> FileRequests;

    // Answers for the next message boxes; with the queue empty, IDOK / IDYES.
    std::deque<int> MessageAnswers;
    struct Message {
        std::string Text;
        std::string Caption;
        unsigned Style;
    };
    std::vector<Message> Messages;
    // Messages shown without waiting for an answer.
    std::vector<Message> Notices;

    std::vector<std::string> StatusTexts;
    int InvalidateCount = 0;
    int UpdateCount = 0;
    int PumpCount = 0;
    std::function<void()> OnPump;  // e.g. fire a nested tick

    std::vector<std::pair<int, int>> StartedTimers;
    std::vector<int> KilledTimers;
    bool TimersAvailable = true;

    std::time_t Clock = 1000000;
    std::deque<int> RandValues;  // injected rand() results; when empty, CRand15
    std::vector<unsigned> SrandSeeds;

    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override { return Choose(request); }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override { return Choose(request); }

    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override
    {
        Messages.push_back({text, caption, style});
        if (!MessageAnswers.empty()) {
            int answer = MessageAnswers.front();
            MessageAnswers.pop_front();
            return answer;
        }
        const unsigned buttons = style & 0xFu;
        return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
    }

    void Notify(const std::string& text, const std::string& caption, unsigned style) override
    {
        Notices.push_back({text, caption, style});
    }

    // What went to the error stream's log.
    std::vector<std::string> Logs;
    void Log(const std::string& text) override { Logs.push_back(text); }

    void SetStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    bool ShowsStatus = true;  // whether a status line shows the texts
    bool ShowsStatusText() const override { return ShowsStatus; }
    void InvalidateView() override { ++InvalidateCount; }
    void UpdateView() override { ++UpdateCount; }
    void PumpOneMessage() override
    {
        ++PumpCount;
        if (OnPump)
            OnPump();
    }
    bool StartTimer(int id, int periodMs) override
    {
        if (!TimersAvailable)
            return false;
        StartedTimers.emplace_back(id, periodMs);
        return true;
    }
    void KillTimer(int id) override { KilledTimers.push_back(id); }
    std::time_t Now() override { return Clock; }
    int Rand() override
    {
        if (!RandValues.empty()) {
            int value = RandValues.front();
            RandValues.pop_front();
            return value;
        }
        return Runtime.Next();
    }
    void Srand(unsigned seed) override
    {
        SrandSeeds.push_back(seed);
        Runtime.Seed(seed);
    }

    std::string LastStatus() const { return StatusTexts.empty() ? std::string() : StatusTexts.back(); }
    bool SawMessageContaining(const std::string& fragment) const
    {
        for (const auto& m : Messages)
            if (m.Text.find(fragment) != std::string::npos)
                return true;
        return false;
    }

private:
    std::optional<std::string> Choose(const FileDialogRequest& request)
    {
        FileRequests.push_back(request);
        if (FileChoices.empty())
            return std::nullopt;
        auto choice = FileChoices.front();
        FileChoices.pop_front();
        return choice;
    }

    CRand15 Runtime;
};

}  // namespace brevimar::testing
