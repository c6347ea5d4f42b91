#pragma once

// The output command of the open project ("出力(&O)"): the current page is
// synchronised into the store first (its rows and used extent), then the
// output run goes over every page with the project's folder and the
// application settings. The window supplies the port (folder browser and
// message boxes); nothing happens without a project store.

#include "output/output_run.h"
#include "project/project.h"

namespace piconel {

[[nodiscard]] OutputRunResult run_project_output(Project& project, const PictureDecoder* decoders,
                                                 OutputRunPort& port);

}  // namespace piconel
