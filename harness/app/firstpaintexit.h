// For timing start-up: with HARNESS_EXIT_AFTER_FIRST_PAINT=N in the
// environment the program ends as soon as N different top-level windows have
// each been painted once in full (every child drawn and the window flushed),
// and prints that moment on standard output as
// "first-paint-monotonic-ns N" (CLOCK_MONOTONIC).
// The harness and the floor program it is compared with both use this, so
// both are measured the same way.
#pragma once

namespace harness
{

void exitAfterFirstPaintIfAsked();

} // namespace harness
