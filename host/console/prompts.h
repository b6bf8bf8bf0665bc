// The host's prompts: the sds_* input calls (points, numbers, keywords, picks, dragging)
// and its messages, all reading the shared line input and writing the shared output.
#pragma once

#include <string>

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

}  // namespace host
