// All-pole filtering of an analysis window that moves on by a fixed step each frame, reusing
// the outputs of the samples the window shares with the last run.
#pragma once

// What one filter kept from its last run.
struct WindowPoles {
    float* last_input;  // n samples: the last window's input
    float* poles;       // p + n: its outputs, with the p history outputs in front
};

// Marks the kept run as matching no filter memory, so that the next run filters the whole window.
void window_poles_reset(WindowPoles* kept, int p, int step);

// Fills kept->poles[p..p+n-1] with the all-pole outputs of input[0..n-1] from the p outputs in
// mem, exactly as a full run would, then stores the p outputs at step - p.. into mem. When mem
// and the step's shared input match the kept run, the shared outputs are taken from it.
void window_poles_run(WindowPoles* kept, const float* input, const float* a, float* mem, int p,
                      int n, int step);
