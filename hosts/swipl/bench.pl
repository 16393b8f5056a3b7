% The predicates against SWI-Prolog's built-ins, side by side in one run:
%   swipl -p library=build-native/hosts/swipl/library hosts/swipl/bench.pl
% Each figure is the CPU time of one iteration of a between/3
% failure-driven loop, the best of five rounds of a million iterations.
:- use_module(library(math_n)).
:- initialization(main, main).

loop(empty, N) :- between(1, N, _), fail.
loop(addNat, N) :- between(1, N, X), addNat(X, 4, _), fail.
loop(is_plus, N) :- between(1, N, X), _ is X + 4, fail.
loop(logNat, N) :- between(1, N, Y), logNat(10, Y, _), fail.
loop(is_log, N) :- between(1, N, Y), _ is truncate(log(Y) / log(10)), fail.
loop(n2sNat, N) :- between(1, N, X), n2sNat(X, _), fail.
loop(number_string_out, N) :- between(1, N, X), number_string(X, _), fail.
loop(s2nNat, N) :- between(1, N, _), s2nNat("1234567", _), fail.
loop(number_string_in, N) :- between(1, N, _), number_string(_, "1234567"), fail.
loop(_, _).

pair('addNat(X, 4, Z)', addNat, 'Z is X + 4', is_plus).
pair('logNat(10, Y, Z)', logNat, 'Z is truncate(log(Y)/log(10))', is_log).
pair('n2sNat(X, S)', n2sNat, 'number_string(X, S)', number_string_out).
pair('s2nNat("1234567", N)', s2nNat, 'number_string(N, "1234567")', number_string_in).

% The two loops of a pair alternate, so that both see the same load.
ns_per_iteration(Loops, Ns) :-
    Count = 1000000,
    findall(Times, (between(1, 5, _), maplist(seconds(Count), Loops, Times)), Rounds),
    pairs_best(Rounds, Best),
    maplist([B, N]>>(N is B * 1.0e9 / Count), Best, Ns).

seconds(Count, Loop, T) :-
    statistics(cputime, T0), loop(Loop, Count), statistics(cputime, T1), T is T1 - T0.

pairs_best([Round], Round) :- !.
pairs_best([Round|Rounds], Best) :- pairs_best(Rounds, Rest), maplist([A, B, M]>>(M is min(A, B)), Round, Rest, Best).

main :-
    ns_per_iteration([empty], [Empty]),
    format("empty loop: ~1f ns per iteration~n", [Empty]),
    format("~w~t~34|~w~t~10+~w~t~36+~w~t~10+~w~n", ['library', ns, 'built-in', ns, ratio]),
    forall(pair(Ours, OurLoop, Theirs, TheirLoop),
           ( ns_per_iteration([OurLoop, TheirLoop], [A, B]), Ratio is A / B,
             format("~w~t~34|~1f~t~10+~w~t~36+~1f~t~10+~2f~n", [Ours, A, Theirs, B, Ratio]) )).
