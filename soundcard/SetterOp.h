#pragma once

// The sound-card setters, as keys of the per-model command tables.
enum class SetterOp {
    SoundMode,
    Volume,
    MicReverberation,
    DodgeSpeed,
    DodgeThreshold,
    DodgeGrade,
    EliminateVoice,
    Denoise,
    MicToneColour,
    Switch,
    SpecialEffectSound,
};
