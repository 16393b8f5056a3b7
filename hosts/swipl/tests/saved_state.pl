% The program of the saved_state test: a state saved from it carries
% library(math_n) and its foreign object.
:- use_module(library(math_n)).

main :- addNat(3, 4, Z), n2sNat(N, "12"), d2bNat(10, B), print([Z, N, B]), nl.
