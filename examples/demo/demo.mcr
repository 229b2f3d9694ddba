; demo macro
RESET
GO main
