#pragma once

// The output command of the open project ("出力(&O)"): the current page is
// synchronised into the store first (its rows and used extent), then the
// output run goes over every page with the project's folder and the
// application settings. The window supplies the port (folder browser and
// message boxes), the command line its console; nothing happens without a
// project store.

#include <optional>
#include <string>

#include "image/read_ahead.h"  // one_job_per_core, the jobs its callers run
#include "output/output_run.h"
#include "project/project.h"

namespace piconel {

// `output_folder`: write there instead of what OUTPUTENABLE / OUTPUTDIR or
// the folder selection give (the command line's --out). `if_changed` and
// `jobs` are the command line's --if-changed and --jobs (OutputRunRequest).
[[nodiscard]] OutputRunResult run_project_output(
    Project& project, const PictureDecoder* decoders, OutputRunPort& port,
    std::optional<std::string> output_folder = std::nullopt, bool if_changed = false, int jobs = 1);

}  // namespace piconel
