# Tests of the loops predicates (placeholder: replaced with the real targets).
