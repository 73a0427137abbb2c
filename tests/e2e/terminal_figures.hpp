#pragma once
// The program's cost on a terminal, taken the same way by the performance tests and by the
// terminal benchmark: bytes per screen and per key, and the steps that lead to each screen.

#include <cstddef>
#include <string>

#include "pty_session.hpp"

namespace ferrolux::e2e {

inline const std::string kLengthPrompt = "length in ft:";
inline const std::string kReviseQuestion = "revise any of these settings";
inline const std::string kBandPrompt = "Please select an option";
inline const std::string kFrequencyPrompt = "desired frequency in MHz:";
inline const std::string kRefusedFrequency = "Invalid input. Please enter a frequency";
inline const std::string kTypeListTitle = "Select Cable Type";
inline const std::string kPartListTitle = "Please Make a Selection";
inline const std::string kClosingQuestion = "Would you like to do another?";
// What a terminal sends for Down once the program has switched it to application cursor keys.
inline const std::string kDownKey = "\x1bOB";
inline const std::string kBackspaceKey = "\x7f";

// Waits until the program has written all it had to and sleeps waiting for the next key.
bool Settle(PtySession& session);

// Everything the program writes in answer to the keys.
size_t BytesForKeys(PtySession& session, const std::string& keys);

// The bytes from the start of the run until the length prompt is on the screen.
size_t FirstScreenBytes(PtySession& session);

// From the first screen: settings typed in and the band menu shown.
bool ReachBandMenu(PtySession& session);
// From the band menu: a band chosen, so that the cable-type list is shown.
bool ReachTypeListByBand(PtySession& session);
// From the band menu: a frequency out of range typed in; true once the refusal shows.
bool ReachRefusedFrequency(PtySession& session);
// From the frequency prompt: a frequency in range typed in, so that the cable-type list is shown.
bool ReachTypeListByFrequency(PtySession& session);
// From the cable-type list: the type under the bar and its first part chosen, up to the
// closing question.
bool ReachClosingQuestion(PtySession& session);

// How many lines of two pictures of a screen differ.
int DifferentLines(const std::string& picture, const std::string& other);

// With the refusal just shown: the program's wake-ups per second until it is gone again.
double WakeUpsPerSecondUntilGone(PtySession& session, const std::string& text);

}  // namespace ferrolux::e2e
