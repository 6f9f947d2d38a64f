#pragma once
// The fixed texts of the tab pages: choice-list entries, option captions and the ranges and
// character limits of the parameter controls. The page classes build their controls from these;
// the page fillers and senders rely on the list entries being in exactly this order (the list
// index is the stored value).

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tavoro::pages {

// ---- Tone pages --------------------------------------------------------------------------

// Modulation sources of cboTone 0 to 3, 5 and 6.
inline constexpr std::array<std::string_view, 7> kToneModSources = {
    "none", "modwheel", "chanpres", "polypres", "auxctl1", "auxctl2", "auxctl3"};

// LFO wave shapes of cboTone 4.
inline constexpr std::array<std::string_view, 8> kLfoWaveshapes = {
    "triangle", "square", "sawtooth (ramp)", "sine", "clipped sine", "sample/hold", "random square", "grunge"};

// The nine sources of cboTone 7 and of cboPreset 4, 5 and 6.
inline constexpr std::array<std::string_view, 9> kKeyboardSources = {
    "keybdpos", "velocity", "random", "modwheel", "chanpres", "polypres", "auxctl1", "auxctl2", "auxctl3"};

// optToneEnvSel, Index 0 to 11: four groups of three (DCA, DCF, DCO, pan).
inline constexpr std::array<std::string_view, 12> kToneEnvSelCaptions = {
    "none", "env1", "env2", "none", "env1", "env2", "none", "env 1", "env 2", "none", "env 1", "env 2"};

// optToneModMode, Index 0 to 31: sixteen pairs, the even member clears the bit, the odd sets it.
inline constexpr std::array<std::string_view, 32> kToneModModeCaptions = {
    "Normal",  "Inverted", "Normal",   "Inverted", "Normal",  "Inverted", "summed",   "scaled",
    "summed",  "scaled",   "summed",   "scaled",   "bipolar", "unipolar", "summed",   "scaled",
    "unipolar", "bipolar", "summed",   "scaled",   "summed",  "scaled",   "summed",   "scaled",
    "bipolar", "unipolar", "Normal",   "Inverted", "summed",  "scaled",   "unipolar", "bipolar"};

// One number box with its paired slider.
struct SliderPair {
  int index;              // member index in the arrays (-1 for single controls)
  std::string_view caption;  // label over the pair
  int min;
  int max;
  int maxLength;
  std::string_view widest = {};  // the widest special text the box may show
};

// Envelope stages, left to right: attack, sustain, decay, release.
inline constexpr std::array<SliderPair, 4> kEnvelopeStages = {{
    {-1, "Att", -99, 99, 3},
    {-1, "Sus", 0, 99, 2},
    {-1, "Dec", 0, 99, 2},
    {-1, "Rel", 0, 99, 2},
}};

inline constexpr std::array<SliderPair, 3> kDcaPairs = {{
    {0, "Vel Sens", -99, 99, 3},
    {1, "LFO Amt", -99, 99, 3},
    {2, "Aux Amt", -99, 99, 3},
}};

inline constexpr std::array<SliderPair, 5> kDcfPairs = {{
    {0, "Vel Sens", -99, 99, 3},
    {1, "LFO Amt", -99, 99, 3},
    {2, "Aux Amt", -99, 99, 3},
    {3, "Env Amt", -99, 99, 3},
    {4, "Cutoff", 0, 99, 2},
}};

inline constexpr std::array<SliderPair, 4> kDcoPairs = {{
    {0, "Amt", -99, 99, 3},
    {1, "Amt", -99, 99, 3},
    {2, "Amt", -99, 99, 3},
    {3, "Amt", -99, 99, 3},
}};

inline constexpr std::array<SliderPair, 6> kLfoPairs = {{
    {0, "Speed", 0, 99, 2},
    {1, "Amt 1", 0, 99, 2},
    {2, "Amt 2", 0, 99, 2},
    {3, "Delay", 0, 99, 2},
    {4, "Quant", -99, 99, 3, "qnt"},
    {5, "Steps", 1, 128, 4, "none"},
}};

inline constexpr std::array<SliderPair, 4> kPanPairs = {{
    {0, "Amt", -99, 99, 3},
    {1, "Amt", -99, 99, 3},
    {2, "Amt", -99, 99, 3},
    {3, "Amt", -99, 99, 3},
}};

// ---- Map page ----------------------------------------------------------------------------

inline constexpr std::array<int, 11> kMapMaxLengths = {3, 3, 14, 3, 3, 3, 3, 2, 4, 3, 1};
inline constexpr std::array<std::string_view, 6> kMapOptionCaptions = {
    "Main", "Sub", "Note Number", "Fixed", "Exclusive", "Normal"};

// ---- Wave page ---------------------------------------------------------------------------

inline constexpr int kWaveBarMin = 1;
inline constexpr int kWaveBarMax = 100;
inline constexpr int kWaveBarStep = 10;

// ---- Preset pages ------------------------------------------------------------------------

inline constexpr std::array<std::string_view, 5> kPresetModes = {
    "play layer a only", "play layer b only", "play both layers", "layer a/b switch", "layer a/b crossfade"};

inline constexpr std::array<std::string_view, 11> kPresetOptionCaptions = {
    "low", "medium", "high", "absolute", "off", "on", "[Map]", "Main", "Sub", "A", "B"};

// Character limits of txtPreset 0 to 25.
inline constexpr std::array<int, 26> kPresetMaxLengths = {3, 3, 3, 3, 3, 1, 2, 1, 2, 3, 3, 3, 3,
                                                          3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 14};

// The controller list of cboPreset 1 to 3: "Off", then controllers 0 to 120, named ones padded
// so the name starts at the eighth character (the sixth after a three-digit number).
std::vector<std::string> AuxControllerList();

// ---- Global page -------------------------------------------------------------------------

inline constexpr std::array<std::string_view, 6> kPlaybackModes = {
    "MIDI Rcv Mode", "what's on display", "current edit preset", "current edit map", "current edit tone",
    "current edit wave"};

inline constexpr std::array<std::string_view, 13> kGlobalOptionCaptions = {
    "low", "medium", "high", "absolute", "off", "on", "Active", "Off-Line", "omni", "poly", "multi", "enabled",
    "disabled"};

// Character limits of txtGlobal 0 to 9.
inline constexpr std::array<int, 10> kGlobalMaxLengths = {1, 2, 2, 2, 14, 3, 2, 3, 14, 7};

// ---- The tab strip -----------------------------------------------------------------------

inline constexpr std::string_view kTabCaptions = "Preset1|Preset2|Map|Tone1|Tone2|Tone3|Wave|Global";

}  // namespace tavoro::pages
