# Tests of the logroot predicates (placeholder: replaced with the real targets).
