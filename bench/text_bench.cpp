// Benchmarks of the text predicates (placeholder).
