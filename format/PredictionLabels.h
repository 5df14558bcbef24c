#pragma once

// The labels of the prediction file's two sections, which motifbind-report
// and motifbind-eval read. A section's start line is its label, a tab and a
// note of its columns; its rows follow, then its end line. The file closes
// with loglabel::END_OF_FILE.
namespace predlabel {

inline constexpr char INTERACTIONS_START[] = "***s Predicted non-interaction probability for protein pairs:";
inline constexpr char INTERACTIONS_END[] = "***e Predicted non-interaction probability for protein pairs.";
inline constexpr char BINDINGS_START[] = "***s Binding variable:";
inline constexpr char BINDINGS_END[] = "***e Binding variable.";

} // namespace predlabel
