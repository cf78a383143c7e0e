#include "jobs/job_worker.h"

namespace orvella::jobs {

int RunJob(const JobRequest&, const WorkerContext&) { return 0; }

}  // namespace orvella::jobs
