// Replaced by the burn job.
