// Benchmarks of the loops predicates (placeholder).
