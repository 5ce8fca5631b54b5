// White noise for the excitation and the period jitter.
#pragma once

// v[i] uniform in [-amplitude, amplitude], one draw of the runtime generator per value.
void uniform_noise(float* v, float amplitude, int n);
