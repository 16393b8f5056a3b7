# Tests of the text predicates (placeholder: replaced with the real targets).
