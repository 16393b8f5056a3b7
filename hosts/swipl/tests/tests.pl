% library(math_n) as a Prolog user calls it: swipl tests.pl TEST EDGE_TABLE
:- use_module(library(math_n)).
:- use_module(library(thread)).
:- use_module(library(clpfd)).
:- initialization(main, main).
:- discontiguous test/2.

main :- current_prolog_flag(argv, [Test, Table]), test(Test, Table).

% Every row of the edge table as a goal. The table's \xHH escapes stand
% for bytes; Prolog reads them as characters, which cross as UTF-8, so the
% rows with one from 0x80 on run with its two-byte form, which the same
% answers hold for.
test(edge_cases, Table) :-
    read_file_to_string(Table, Text, []),
    split_string(Text, "\n", "", Lines),
    findall(row(N, Line, High, Got), (nth1(N, Lines, Line), edge_row(Line, High, Got)), Rows),
    exclude([row(_, _, _, Got)]>>(Got == as_expected), Rows, Failed),
    length(Rows, Run), length(Failed, F),
    aggregate_all(count, member(row(_, _, true, _), Rows), High),
    format("~d rows run (~d with bytes from 0x80 as UTF-8 characters), ~d failed~n", [Run, High, F]),
    forall(member(row(N, Line, _, Got), Failed), format("  FAILED line ~d: ~s (got ~q)~n", [N, Line, Got])),
    Run >= 300, High >= 5, F =:= 0.

% A row reads as one term, Goal => Answer, the answer sharing the goal's
% variable.
edge_row(Line, High, Outcome) :-
    \+ sub_string(Line, 0, 1, _, "%"),
    sub_string(Line, _, _, _, " => "),
    prolog_text(Line, Row, High),
    term_string(Goal => Answer, Row),
    catch(( math_n:Goal -> Got = Goal ; Got = false ), Error, Got = Error),
    ( answer(Answer, Got) -> Outcome = as_expected ; Outcome = Got ).

answer(false, false).
answer(true, Got) :- Got \== false, Got \= error(_, _).
answer(Variable = Value, Got) :- answer(true, Got), Variable == Value.

% Prolog's \x escape ends with a backslash; High is true for one from 0x80.
prolog_text(Text, Prolog, High) :-
    string_codes(Text, Codes),
    closed_escapes(Codes, Closed, High),
    string_codes(Prolog, Closed),
    ( var(High) -> High = false ; true ).

closed_escapes([], [], _).
closed_escapes([0'\\, 0'x, A, B|T], [0'\\, 0'x, A, B, 0'\\|R], High) :- !,
    ( A >= 0'8 -> High = true ; true ),
    closed_escapes(T, R, High).
closed_escapes([0'\\, C|T], [0'\\, C|R], High) :- !, closed_escapes(T, R, High).
closed_escapes([C|T], [C|R], High) :- closed_escapes(T, R, High).

% Goals whose answer rests on how Prolog's terms cross (texts beyond ASCII,
% attributed variables, choice points), each row a goal and the value it
% must give.
no_choice_point(Goal) :- call_cleanup(Goal, Done = true), Done == true.

rule(texts_beyond_ascii, X, findall(N, (member(S, ["12€", "€12", "1\u00fc", "\u00a012", " 7\u00a0", "\u0131", "\"12\""]), n2sNat(N, S)), X),
     [12, 0, 1, 0, 7, 0, 0]).
rule(frozen_goal_runs, X, findall(Z-Seen, (member(Limit, [5, 10]), freeze(Z, Seen = Z), freeze(Z, Z > Limit),
                                           addNat(3, 4, Z)), X), [7-7]).
rule(clpfd_domain_decides, X, findall(Z, (member(High, [9, 5]), Z #> 1, Z #=< High, addNat(3, 4, Z)), X), [7]).
rule(clpfd_bound_by_solving, X, findall(Y, (Y #= 2 * W, addNat(3, W, 8)), X), [10]).
rule(deterministic, X, findall(G, (member(G, [addNat(3, 4, _), addNat(_, 4, 7), addNat(3, 4, 7), n2sNat(7, _),
                                           s2nNat(_, 7), gcdNat(4, 6, _)]),
                                \+ no_choice_point(G)), X), []).

test(rules, _) :- table_test(rule(Name, X, Goal, Expected), (Goal -> true ; X = failed), X == Expected, Name, X).

% What no value can hold, and patterns the library does not export.
error_row(addNat(_, _, 7), instantiation_error, 'addNat has no entry point for pattern ooi; it offers iii, iio, ioi, oii').
error_row(s2nNat(_, _), instantiation_error, _).
error_row(addNat(2147483648, 1, _), representation_error(int), _).
error_row(addNat(1, 2, 1267650600228229401496703205376), representation_error(int), _).
error_row(addNat(1.5, 1, _), type_error(integer, 1.5), _).
error_row(multNat(2, 1r3, _), type_error(integer, 1r3), _).
error_row(addNat(f(x), 1, _), type_error(integer, f(x)), _).
error_row(n2sNat(_, []), type_error(string, []), _).
error_row(s2nNat([0'1], _), type_error(string, [0'1]), _).
error_row(s2nNat("1\0\2", _), domain_error(text_without_nul, "1\0\2"), _).
error_row(combNat(5, '\0\', _), domain_error(text_without_nul, '\0\'), _).
error_row(evenNat(_), instantiation_error, 'evenNat has no entry point for pattern o; it offers i').

test(errors, _) :-
    table_test(error_row(Goal, Formal, Message), (catch(Goal, Error, true), functor(Goal, Name, Arity)),
               subsumes_term(error(Formal, context(math_n:Name/Arity, Message)), Error), Goal, Error).

% help/1, with PlDoc not loaded first, shows each predicate's modes and
% its relation.
help_row(addNat, "addNat(-X, +Y, +Z) is semidet").
help_row(s2nNat, "s2nNat(-X, +Y) is semidet").
help_row(evenNat, "lowest bit of x is 0").

test(help, _) :-
    table_test(help_row(Name, Text), with_output_to(string(Shown), help(Name)), sub_string(Shown, _, _, _, Text),
               Name, Shown).

% Each row of the table Row is Run, then Check holds; a failing row is named.
table_test(Row, Run, Check, Name, Got) :-
    findall(Name-Got, (call(Row), call(Run), \+ Check), Failed),
    aggregate_all(count, Row, Count),
    length(Failed, F),
    format("~d rows, ~d failed~n", [Count, F]),
    forall(member(N-G, Failed), format("  FAILED ~q: got ~q~n", [N, G])),
    Failed == [].

% With fail_new.cpp preloaded: the library's std::bad_alloc is a Prolog
% resource error, and the next call works.
test(out_of_memory, _) :-
    catch(s2nNat("00000000000000000000000000042", _), Error, true),
    subsumes_term(error(resource_error(memory), context(math_n:s2nNat/2, _)), Error),
    s2nNat("42", 42).

% Four threads at once, each answer checked against the built-ins.
test(threads, _) :-
    concurrent_forall(between(1, 200000, I), threaded_call(I), [threads(4)]),
    writeln("200000 calls in 4 threads agree with the built-ins").

threaded_call(I) :-
    N is I * 7919 - 800000,
    (   n2sNat(N, S), number_string(N, S), s2nNat(S, N), addNat(N, 1, M), M =:= N + 1, d2bNat(I, B), b2dNat(B, I)
    ->  true ; format(user_error, "FAILED in a thread: ~d~n", [N]), fail ).

% Every delivered text is released: a million texts leave the resident
% size where it was.
test(memory, _) :-
    texts(100000), resident_kb(Before),
    texts(1000000), resident_kb(After),
    Growth is After - Before,
    format("resident ~d kB before a million n2sNat calls, ~d kB after~n", [Before, After]),
    Growth < 1024.

texts(Count) :- forall(between(1, Count, I), n2sNat(I, _)).

resident_kb(KB) :-
    read_file_to_string('/proc/self/status', Text, []),
    sub_string(Text, Start, _, _, "VmRSS:"), sub_string(Text, Start, _, 0, Rest),
    split_string(Rest, "\n", "", [Line|_]), split_string(Line, " \t", " \t", [_|Fields]),
    member(Field, Fields), number_string(KB, Field), !.

% The foreign object unloads (nothing keeps it mapped) and loads again.
test(unload, _) :-
    mapped(Before),
    math_n:unload_foreign_library(foreign(math_n)),
    mapped(Unloaded),
    math_n:load_foreign_library(foreign(math_n)),
    addNat(3, 4, Z),
    format("math_n.so mapped: ~w, after unloading: ~w; addNat(3, 4, Z) after reloading: ~w~n", [Before, Unloaded, Z]),
    Before == true, Unloaded == false, Z == 7.

mapped(Mapped) :-
    read_file_to_string('/proc/self/maps', Maps, []),
    ( sub_string(Maps, _, _, _, "/math_n.so\n") -> Mapped = true ; Mapped = false ).
