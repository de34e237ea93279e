// SPDX-License-Identifier: MIT
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The scripted sessions of sessions.txt, played against one front end through its driver.
namespace pelmoravan::conformance {

struct TStep {
    std::string Verb;
    std::string Argument;
    int Line = 0;
};

struct TSession {
    std::string Name;
    std::vector<TStep> Steps;
};

// gtest names each parameterised case by this.
inline void PrintTo(const TSession& session, std::ostream* out) { *out << session.Name; }

inline std::vector<TSession> ReadSessions(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::vector<TSession> sessions;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        const std::size_t gap = line.find(' ', start);
        TStep step{line.substr(start, gap == std::string::npos ? std::string::npos : gap - start),
                   gap == std::string::npos ? std::string() : line.substr(gap + 1), number};
        if (start == 0 && step.Verb == "session") {
            sessions.push_back({step.Argument, {}});
        } else if (start > 0 && !sessions.empty()) {
            sessions.back().Steps.push_back(step);
        } else {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": a step outside a session");
        }
    }
    return sessions;
}

// What a dialog on show holds, as the player reads it.
struct TShown {
    std::string Kind; // question, name, list, message, about, save, busy
    std::string Text;
    std::vector<std::string> FirstRow; // a list's first row: rank, name, score
};

// One front end as the sessions drive it. Each call returns once what it did has settled: the
// turns the front end asked for have run and the answers it owed have reached the house.
class IDriver {
public:
    virtual ~IDriver() = default;
    virtual void StartOutOfOrder() = 0;
    virtual void Deal() = 0;
    virtual void Menu(const std::string& item) = 0;
    virtual void Error(const std::string& text) = 0;
    virtual void LastPair() = 0;
    virtual std::optional<TShown> Shown() = 0;
    // how: yes, no, ok, cancel or name.
    virtual void Answer(const std::string& how, const std::string& name) = 0;
    virtual std::optional<int> Ended() = 0;
    virtual std::string State() = 0;
    virtual int Score() = 0;
};

inline void Play(const TSession& session, IDriver& driver) {
    for (const TStep& step : session.Steps) {
        SCOPED_TRACE("sessions.txt:" + std::to_string(step.Line) + ": " + step.Verb + " " + step.Argument);
        if (step.Verb == "start-out-of-order") {
            driver.StartOutOfOrder();
        } else if (step.Verb == "deal") {
            driver.Deal();
        } else if (step.Verb == "menu") {
            driver.Menu(step.Argument);
        } else if (step.Verb == "error") {
            driver.Error(step.Argument);
        } else if (step.Verb == "last-pair") {
            driver.LastPair();
        } else if (step.Verb == "shows") {
            const std::optional<TShown> shown = driver.Shown();
            if (step.Argument == "nothing") {
                ASSERT_FALSE(shown.has_value()) << "shows " << shown->Kind << ": " << shown->Text;
                continue;
            }
            ASSERT_TRUE(shown.has_value()) << "nothing is shown";
            const std::size_t gap = step.Argument.find(' ');
            EXPECT_EQ(shown->Kind, step.Argument.substr(0, gap));
            if (gap != std::string::npos) {
                EXPECT_NE(shown->Text.find(step.Argument.substr(gap + 1)), std::string::npos) << shown->Text;
            }
        } else if (step.Verb == "answer") {
            const std::size_t gap = step.Argument.find(' ');
            driver.Answer(step.Argument.substr(0, gap), gap == std::string::npos ? "" : step.Argument.substr(gap + 1));
        } else if (step.Verb == "list-first") {
            const std::optional<TShown> shown = driver.Shown();
            ASSERT_TRUE(shown.has_value() && shown->FirstRow.size() == 3) << "no list with a first row";
            EXPECT_EQ(shown->FirstRow[1], step.Argument);
            EXPECT_EQ(shown->FirstRow[2], std::to_string(driver.Score()));
        } else if (step.Verb == "ended") {
            EXPECT_EQ(driver.Ended(), std::optional<int>(std::stoi(step.Argument)));
        } else if (step.Verb == "state") {
            EXPECT_EQ(driver.State(), step.Argument);
        } else {
            FAIL() << "no such step";
        }
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

} // namespace pelmoravan::conformance
