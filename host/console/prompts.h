// The host's prompts: the sds_* input calls (points, numbers, keywords, picks, dragging)
// and its messages, all reading the shared line input and writing the shared output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// Short messages with which a prompt is asked again, and the pick miss.
inline constexpr const char* kMsgBadPoint = "Nieprawidłowy punkt.";
inline constexpr const char* kMsgNeedNumber = "Wymagana liczba.";
inline constexpr const char* kMsgNeedWhole = "Wymagana liczba całkowita.";
inline constexpr const char* kMsgBadOption = "Nieprawidłowa opcja.";
inline constexpr const char* kMsgNeedAnswer = "Wymagana odpowiedź.";
inline constexpr const char* kMsgNonZero = "Wartość musi być różna od zera.";
inline constexpr const char* kMsgNonNegative = "Wartość nie może być ujemna.";
inline constexpr const char* kMsgNoObject = "Nie wybrano obiektu.";
inline constexpr const char* kMsgOutOfRange = "Wartość poza zakresem.";

// Forgets pending initget conditions, the last keyword and the last point (a new session).
void ResetPromptState();

// A point at a pick prompt, not tested against the drawing (a selection prompt tests it
// itself), measured from `base` when given; takes the pending initget keywords as the other
// input calls do. RTNORM, RTKWORD, RTNONE or RTCAN.
int GetPickPoint(const char* prompt, const double* base, double point[3]);

// The answers typed on a command's line after its name: blanks part them, a text in double
// quotes is one answer (without its quotes). The command's prompts take them before any
// further line, each shown after its prompt; the line's end is then one Enter, as in a
// script.
void SetAnswersOnLine(std::string_view rest);
// Ends the command's use of them: the answers its prompts did not take.
std::vector<std::string> TakeUnusedAnswers();

}  // namespace host
