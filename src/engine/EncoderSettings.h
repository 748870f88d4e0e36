#pragma once
// The meaning of every property and encoder parameter of the component: planJob reads a
// request (a snapshot of the component) and what the source holds, and returns the plan the
// transcoder carries out. The full table of names and values is in EncoderSettings.cpp and in
// docs/engine-parameters.md. Pure; any thread.
#include "engine/JobPlan.h"
#include "engine/JobRequest.h"

namespace pellucor::engine {

// Throws EngineError (Error_Settings for an output the component cannot write, Error_Nothing
// when the source holds nothing the output can take). Never fails for a value a user can
// pick: such values are replaced by the nearest that works and noted in plan.notes.
JobPlan planJob(const JobRequest& request, const SourceFacts& source);

} // namespace pellucor::engine
