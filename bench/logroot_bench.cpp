// Benchmarks of the logroot predicates (placeholder).
