ExecSQL()
ALTER TABLE PRINTFORMS ADD EXT VARCHAR(10)
^
TransactionCommit()
ExecSQL()
UPDATE PRINTFORMS SET EXT='doc'
^
TransactionCommit()
