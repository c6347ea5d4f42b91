#include "output/project_output.h"

#include <utility>

#include "project/current_page.h"

namespace piconel {

OutputRunResult run_project_output(Project& project, const PictureDecoder* decoders,
                                   OutputRunPort& port, std::optional<std::string> output_folder,
                                   bool if_changed, int jobs) {
  if (!project.store) {
    return {};
  }
  // A failed write leaves the stored rows as they were; the run goes on.
  (void)sync_current_page(project);
  OutputRunRequest request;
  request.project = project.store.get();
  request.settings = project.settings;
  request.project_path = project.path;
  request.project_folder = project.folder;
  request.output_folder = std::move(output_folder);
  request.decoders = decoders;
  request.port = &port;
  request.if_changed = if_changed;
  request.jobs = jobs;
  return run_output(request);
}

}  // namespace piconel
